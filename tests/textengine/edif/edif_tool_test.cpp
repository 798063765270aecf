#include "textengine/edif/edif_tool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/textengine/edif/edif_test_support.h"

namespace tarnwick {
namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunEdifTool(args, out, err);
    return {status, out.str(), err.str()};
}

// A folder of this test case's own, for the files it writes.
class EdifToolTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::path(testing::TempDir()) / (std::string("edif_tool_") + info->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::filesystem::path folder_;
};

TEST_F(EdifToolTest, CheckPassesTheSamplesAndNamesTheLineOfARemovedParenthesis) {
    const std::string alu = Write("alu.edf", edif_test::ReadSample("yosys-alu.edf"));
    const std::string counter = Write("counter.edf", edif_test::ReadSample("yosys-counter.edf"));
    const ToolRun good = RunTool({"check", alu, counter});
    EXPECT_EQ(good.status, 0) << good.out;
    EXPECT_EQ(good.out.find(": error:"), std::string::npos) << good.out;
    EXPECT_NE(good.out.find(counter + ":144:39: warning: "), std::string::npos) << good.out;

    std::string broken = edif_test::ReadSample("yosys-alu.edf");
    const size_t port = broken.find("(port (rename id00011 \"neg(sign)\") (direction OUTPUT)");
    ASSERT_NE(port, std::string::npos);
    broken.erase(broken.find('\n', broken.find("(property src", port)) - 1, 1);  // the port's own ')'
    const std::string bad = Write("broken.edf", broken);
    const ToolRun fails = RunTool({"check", bad});
    EXPECT_EQ(fails.status, 1);
    EXPECT_EQ(fails.out.substr(0, fails.out.find('\n')),
              bad + ":146:11: error: '(' of port `id00011` is never closed");

    const ToolRun quiet = RunTool({"check", "--quiet", counter});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out, "2\n");
}

TEST_F(EdifToolTest, OutlineAndRefs) {
    const std::string path = Write(
        "n.edf",
        "(edif t\n (library L\n  (cell (rename c \"C 1\") (view v (interface (port a))\n"
        "   (contents (instance i (viewRef v (cellRef c))) (net n (joined (portRef a (instanceRef i))))))))\n"
        " (design d (cellRef c (libraryRef L))))\n");
    const ToolRun outline = RunTool({"outline", path});
    EXPECT_EQ(outline.status, 0);
    EXPECT_EQ(
        outline.out,
        "edif t 1\n  library L 2\n    cell c 3\n      view v 3\n        port a 3\n        instance i 4\n"
        "        net n 4\n  design d 5\n");
    const ToolRun refs = RunTool({"refs", path, "c"});
    EXPECT_EQ(refs.status, 0);
    EXPECT_EQ(refs.out,
              path + ":4:46: cellRef c -> cell at line 3\n" + path + ":5:21: cellRef c -> cell at line 3\n");
    EXPECT_EQ(RunTool({"refs", path, "nothing"}).status, 1);
}

TEST_F(EdifToolTest, WrongCommandLinesAndUnreadableFiles) {
    EXPECT_EQ(RunTool({}).status, 2);
    EXPECT_EQ(RunTool({"outline"}).status, 2);
    EXPECT_EQ(RunTool({"check"}).status, 2);
    const ToolRun missing = RunTool({"check", (folder_ / "none.edf").string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

}  // namespace
}  // namespace tarnwick
