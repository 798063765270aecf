// harbinet as a user runs it: processes launched from the command line and from another
// server's process, with a second module loaded beside the plug-in.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <string>

namespace {

struct RunResult {
    int status = -1;
    std::string output;
};

// harbinet with `arguments` (quoted for the shell), its standard output and exit status.
RunResult RunWithArguments(const std::string& arguments) {
    // Its own configuration folder, so that the preferences file of the user stays untouched.
    const std::string config = testing::TempDir() + "harbinet-config-" +
                               testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string command = "XDG_CONFIG_HOME='" + config +
                                "' QT_QPA_PLATFORM=offscreen " TARNWICK_BIN_DIR "/harbinet " + arguments +
                                " 2>/dev/null";
    RunResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> chunk{};
    while (std::fgets(chunk.data(), chunk.size(), pipe))
        result.output += chunk.data();
    result.status = ::pclose(pipe);
    return result;
}

RunResult RunHarbinet(const std::string& process, const std::string& params) {
    return RunWithArguments("--module " PROBE_MODULE " --run-process '" + process + "' '" + params + "'");
}

const std::string kSample = TARNWICK_BIN_DIR "/samples/yosys-counter.edf";

TEST(HarbinetProcessTest, ViewErrorFromTheCommandLineRunsItsCommandInTheOpenedDocument) {
    const RunResult r = RunHarbinet("Tarnwick:ViewError",
                                    "FullDocumentPath=" + kSample + "|DoCommand=Probe:Echo|LineNumber=5");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Probe:Echo LineNumber=5 context=EDIFSearchPanel"), std::string::npos)
        << r.output;
}

TEST(HarbinetProcessTest, AnotherServersProcessLaunchesViewError) {
    const RunResult r = RunHarbinet("Probe:RunViewError",
                                    "FullDocumentPath=" + kSample + "|EditorKind=EDIF|DoCommand=Probe:Echo");
    EXPECT_NE(r.output.find("Probe:Echo EditorKind=EDIF context=EDIFSearchPanel"), std::string::npos)
        << r.output;
}

TEST(HarbinetProcessTest, APreferencesChangeReachesEveryModule) {
    const RunResult r = RunHarbinet("Probe:AnnouncePreferences", "");
    EXPECT_NE(r.output.find("Received=1"), std::string::npos) << r.output;
}

TEST(HarbinetProcessTest, HelpAndVersionAnswerAndAnUnknownOptionFails) {
    const RunResult version = RunWithArguments("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "harbinet " HARBINET_VERSION "\n");

    const RunResult help = RunWithArguments("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind("Usage: harbinet [OPTION]... [FILE]...\n", 0), 0u) << help.output;
    EXPECT_NE(help.output.find("--screenshot OUT.png"), std::string::npos) << help.output;

    const RunResult bad = RunWithArguments("--no-such-option");
    EXPECT_TRUE(WIFEXITED(bad.status) && WEXITSTATUS(bad.status) == 2) << bad.status;
    EXPECT_EQ(bad.output, "");  // the complaint goes to standard error
}

}  // namespace
