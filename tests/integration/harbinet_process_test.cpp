// harbinet as a user runs it: processes launched from the command line and from another
// server's process, with a second module loaded beside the plug-in.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct RunResult {
    int status = -1;
    std::string output;
};

RunResult RunHarbinet(const std::string& process, const std::string& params) {
    // Its own configuration folder, so that the preferences file of the user stays untouched.
    const std::string config = testing::TempDir() + "harbinet-config-" +
                               testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string command = "XDG_CONFIG_HOME='" + config +
                                "' QT_QPA_PLATFORM=offscreen " TARNWICK_BIN_DIR
                                "/harbinet --module " PROBE_MODULE " --run-process '" +
                                process + "' '" + params + "' 2>/dev/null";
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

}  // namespace
