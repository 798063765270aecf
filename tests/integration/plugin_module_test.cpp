// libtarnwick.so loaded by a host that exports its functions, driven through interfaces only.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "host/abi/com_ptr.h"
#include "tests/integration/recording_host.h"

RecordingHost& TheRecordingHost();

namespace {

TComPtr<IServerModule> CreateModule(RecordingHost& host) {
    IServerModule* raw = nullptr;
    PluginFactory()(&raw, &host);
    return TComPtr<IServerModule>::Adopt(raw);
}

std::string ExistingFile() {
    const std::string path = testing::TempDir() + "viewerror.edn";
    std::ofstream(path) << "(edif x)\n";
    return path;
}

int32_t Launch(IServerModule& module, const char* name, std::string params) {
    std::vector<char> buffer(64000, '\0');
    std::copy(params.begin(), params.end(), buffer.begin());
    return module.GetCommandLauncher()->LaunchCommand(name, buffer.data(), 64000, nullptr);
}

class PluginModuleTest : public testing::Test {
protected:
    void SetUp() override { host = RecordingHost{}; }
    RecordingHost& host = TheRecordingHost();
};

TEST_F(PluginModuleTest, TheModuleIsNamedTarnwickAndCountsItsProcesses) {
    auto module = CreateModule(host);
    ASSERT_TRUE(module);
    EXPECT_STREQ(module->GetModuleName(), "Tarnwick");
    EXPECT_EQ(module->GetDocumentCount(), 0);
    EXPECT_EQ(module->GetViewCount(), 0);
    EXPECT_EQ(module->ModuleReserved16(), 0);

    IProcessControl* control = module->GetProcessControl();
    control->EnterProcess(nullptr, 0);
    control->EnterProcess(nullptr, 0);
    control->LeaveProcess(nullptr, 0);
    EXPECT_EQ(control->GetProcessDepth(), 1);

    int32_t a = 9, b = 9, c = 9;
    uint8_t d = 9, e = 9;
    module->GetCommandLauncher()->GetCommandState("ViewError", nullptr, nullptr, &a, &b, &c, &d, &e);
    EXPECT_EQ(std::tuple(a, b, c, d, e), std::tuple(-1, 0, -1, 0, 0));
}

TEST_F(PluginModuleTest, TheModuleMakesThePreferencesFolder) {
    auto module = CreateModule(host);
    const std::string folder = std::string(std::getenv("XDG_CONFIG_HOME")) + "/Vesmar";
    struct stat info {};
    EXPECT_TRUE(::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) << folder;
}

TEST_F(PluginModuleTest, WithoutAnApplicationTheModelPropertiesEntryAnswersNotApplied) {
    auto module = CreateModule(host);
    const auto editor = module.As<IModelPropertiesEditor>();
    ASSERT_TRUE(editor);
    int32_t applied = 123;
    EXPECT_EQ(editor->EditModelProperties(0, 0, 0, &applied), S_OK_);
    EXPECT_EQ(applied, kFalse);
}

TEST_F(PluginModuleTest, ReleasingTheLastReferenceDestroysTheModule) {
    IServerModule* raw = nullptr;
    PluginFactory()(&raw, &host);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(raw->AddRef(), 2);
    EXPECT_EQ(raw->Release(), 1);
    EXPECT_EQ(raw->Release(), 0);  // a leak here would fail the run under the leak checker
}

TEST_F(PluginModuleTest, ViewErrorOpensShowsAndRunsTheCommandInViewZero) {
    auto module = CreateModule(host);
    const std::string path = ExistingFile();
    EXPECT_NE(
        Launch(*module, "viewerror", "FullDocumentPath=" + path + "|EditorKind=K|DoCommand=S:P|LineNumber=5"),
        0);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], "K|" + path);
    ASSERT_EQ(host.shown.size(), 1u);
    ASSERT_EQ(host.processes.size(), 1u);
    EXPECT_EQ(host.processes[0].process, "S:P");
    EXPECT_EQ(host.processes[0].params, "EditorKind=K|LineNumber=5");
    EXPECT_EQ(host.processes[0].capacity, 1024);
    EXPECT_EQ(host.processes[0].context, &host.document.view);
}

TEST_F(PluginModuleTest, ViewErrorWithoutDoCommandOnlyOpens) {
    auto module = CreateModule(host);
    Launch(*module, "VIEWERROR", "FullDocumentPath=" + ExistingFile());
    EXPECT_EQ(host.opened.size(), 1u);
    EXPECT_TRUE(host.processes.empty());
}

TEST_F(PluginModuleTest, ViewErrorFallsBackToTheCurrentViewWhenOpeningFails) {
    auto module = CreateModule(host);
    host.openSucceeds = false;
    Launch(*module, "ViewError", "FullDocumentPath=" + ExistingFile() + "|DoCommand=S:P");
    EXPECT_TRUE(host.shown.empty());
    ASSERT_EQ(host.processes.size(), 1u);
    EXPECT_EQ(host.processes[0].context, &host.currentView);
}

TEST_F(PluginModuleTest, ViewErrorDoesNothingWithoutAnExistingPath) {
    auto module = CreateModule(host);
    for (const char* params :
         {"EditorKind=K|DoCommand=S:P", "FullDocumentPath=/no/such/file|DoCommand=S:P"}) {
        Launch(*module, "ViewError", params);
        EXPECT_TRUE(host.opened.empty()) << params;
        EXPECT_TRUE(host.processes.empty()) << params;
    }
}

TEST_F(PluginModuleTest, TheProcessNameMustMatchWhole) {
    auto module = CreateModule(host);
    EXPECT_EQ(Launch(*module, "Tarnwick:ViewError", "FullDocumentPath=" + ExistingFile()), 0);
    EXPECT_TRUE(host.opened.empty());
}

// Every dynamic symbol the plug-in defines: only ServerFactory is ours.
TEST(PluginExportsTest, OnlyServerFactoryIsExported) {
    const std::string command = "nm -D --defined-only " TARNWICK_BIN_DIR "/libtarnwick.so";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> symbols;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        char address[64], type[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, type, name) != 3)
            continue;
        // Lower-case types other than u, v and w are local: present, but nobody can bind them.
        const char kind = type[0];
        if (std::isupper(static_cast<unsigned char>(kind)) || kind == 'u' || kind == 'v' || kind == 'w')
            symbols.insert(name);
    }
    ::pclose(pipe);
    EXPECT_EQ(symbols, std::set<std::string>{"ServerFactory"});
}

TEST(HarbinetExportsTest, TheHostExportsItsClientFunctions) {
    const std::string command = "nm -D --defined-only " TARNWICK_BIN_DIR "/harbinet";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string all;
    char line[512];
    while (std::fgets(line, sizeof line, pipe))
        all += line;
    ::pclose(pipe);
    for (const char* name : {"ClientAPI_GetClientInterface", "ClientAPI_ExtractFileDirFromPath",
                             "ClientAPI_ExtractFileNameFromPath", "ClientAPI_ForceFileNameExtension"})
        EXPECT_NE(all.find(name), std::string::npos) << name;
}

}  // namespace
