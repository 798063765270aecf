// libtarnwick.so loaded by a program that exports no host function: every call through an
// unbound function does nothing.

#include <gtest/gtest.h>

#include <fstream>

#include "host/abi/com_ptr.h"
#include "tests/integration/recording_host.h"

namespace {

TEST(PluginWithoutHostTest, ViewErrorFindsNoFileAndDoesNothing) {
    RecordingHost host;
    IServerModule* raw = nullptr;
    PluginFactory()(&raw, &host);
    auto module = TComPtr<IServerModule>::Adopt(raw);
    ASSERT_TRUE(module);

    const std::string path = testing::TempDir() + "exists.edf";
    std::ofstream(path) << "x";
    char params[256];
    std::snprintf(params, sizeof params, "FullDocumentPath=%s|DoCommand=S:P", path.c_str());
    module->GetCommandLauncher()->LaunchCommand("ViewError", params, sizeof params, nullptr);
    EXPECT_TRUE(host.opened.empty());
    EXPECT_TRUE(host.processes.empty());
}

TEST(PluginWithoutHostTest, ANullOutParameterIsIgnored) {
    RecordingHost host;
    PluginFactory()(nullptr, &host);  // nothing to write to, and no module made for nobody
    EXPECT_TRUE(host.processes.empty());
    EXPECT_TRUE(host.opened.empty());
    EXPECT_TRUE(host.shown.empty());

    // The factory is whole afterwards: a real out parameter gets a module.
    IServerModule* raw = nullptr;
    PluginFactory()(&raw, &host);
    auto module = TComPtr<IServerModule>::Adopt(raw);
    EXPECT_TRUE(module);
}

}  // namespace
