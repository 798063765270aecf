// Harbinet's file system: a write stream replaces its target only when every write landed.

#include "hostapp/disk_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/abi/host_function_types.h"

namespace harbinet {

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DiskFileSystemTest : public testing::Test {
protected:
    void SetUp() override {
        // One folder per test: the tests of this fixture may run at the same time.
        folder = std::filesystem::path(testing::TempDir()) /
                 ("vfs-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        path = (folder / "netlist.edf").string();
        std::ofstream(path, std::ios::binary) << original;
        ::chmod(path.c_str(), 0640);
    }
    void TearDown() override {
        fs.FailNthWrite(0);
        fs.FailNextCommitAt(TDiskFileSystem::TCommitStep::None);
    }

    // Writes the text in pieces of 4 bytes through one write stream; the outcome of its close.
    bool WriteInPieces(const std::string& text) {
        const int32_t h = fs.StreamCreate(path, kStreamCreateWrite);
        EXPECT_NE(h, 0);
        for (std::size_t at = 0; at < text.size(); at += 4)
            fs.StreamWrite(h, text.data() + at,
                           static_cast<int32_t>(std::min<std::size_t>(4, text.size() - at)));
        return fs.StreamClose(h);
    }

    std::size_t FilesInFolder() const {
        return std::distance(std::filesystem::directory_iterator(folder),
                             std::filesystem::directory_iterator());
    }

    TDiskFileSystem& fs = TDiskFileSystem::Instance();
    std::filesystem::path folder;
    std::string path;
    const std::string original = std::string("(edif original\0\xff", 17) + "\r\n)";
};

TEST_F(DiskFileSystemTest, ACompleteWriteReplacesTheFileAndKeepsItsMode) {
    EXPECT_TRUE(WriteInPieces("(edif new)\n"));
    EXPECT_EQ(ReadAll(path), "(edif new)\n");
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    std::string failure;
    EXPECT_FALSE(fs.TakeFailure(path, failure));
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(DiskFileSystemTest, AFailedNthWriteLeavesTheOriginalByteIdenticalAndIsReported) {
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        fs.FailNthWrite(n);
        EXPECT_FALSE(WriteInPieces("(edif a much longer replacement text)\n"));
        EXPECT_EQ(ReadAll(path), original);
        std::string failure;
        EXPECT_TRUE(fs.TakeFailure(path, failure));
        EXPECT_NE(failure.find("No space left"), std::string::npos) << failure;
        EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left behind
    }
}

TEST_F(DiskFileSystemTest, AFailedFlushOrRenameIsAnsweredByTheCloseAndKeepsTheOriginal) {
    using Step = TDiskFileSystem::TCommitStep;
    for (const Step step : {Step::Flush, Step::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        fs.FailNextCommitAt(step);
        EXPECT_FALSE(WriteInPieces("(edif new)\n"));
        EXPECT_EQ(ReadAll(path), original);
        std::string failure;
        EXPECT_TRUE(fs.TakeFailure(path, failure));
        EXPECT_NE(failure.find(path), std::string::npos) << failure;
        EXPECT_EQ(FilesInFolder(), 1u);
    }
    EXPECT_TRUE(WriteInPieces("(edif new)\n")) << "the fault is injected once";
}

TEST_F(DiskFileSystemTest, AnUnwritableFolderRefusesTheStreamAndSaysWhy) {
    const std::string blocked = (folder / "missing-folder" / "x.edf").string();
    EXPECT_EQ(fs.StreamCreate(blocked, kStreamCreateWrite), 0);
    std::string failure;
    EXPECT_TRUE(fs.TakeFailure(blocked, failure));
    EXPECT_NE(failure.find("x.edf"), std::string::npos);
}

TEST_F(DiskFileSystemTest, ReadsSeeksAndRejectsBadHandlesAndRequests) {
    const int32_t h = fs.StreamCreate(path, kStreamOpenRead);
    ASSERT_NE(h, 0);
    char buffer[64];
    EXPECT_EQ(fs.StreamRead(h, buffer, sizeof buffer), static_cast<int32_t>(original.size()));
    EXPECT_EQ(std::string(buffer, original.size()), original);
    EXPECT_EQ(fs.StreamSeek(h, 0, 2), static_cast<int64_t>(original.size()));
    EXPECT_EQ(fs.StreamSeek(h, 0, 7), -1);
    EXPECT_EQ(fs.StreamRead(h, buffer, -5), -1);
    EXPECT_TRUE(fs.StreamClose(h));
    EXPECT_FALSE(fs.StreamClose(h));
    EXPECT_EQ(fs.StreamRead(h, buffer, 1), -1);
    EXPECT_EQ(fs.StreamWrite(12345, buffer, 1), -1);
    EXPECT_EQ(fs.StreamCreate((folder / "absent").string(), kStreamOpenRead), 0);
    EXPECT_EQ(fs.StreamCreate(path, 42), 0);
}

// Saving through a symbolic link replaces the file at the end of the link, wherever the link
// and its target live, and leaves the link as it was.
TEST_F(DiskFileSystemTest, WritingThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    namespace fs_ = std::filesystem;
    fs_::create_directories(folder / "links");
    struct LinkCase {
        const char* name;
        fs_::path link;
        fs_::path pointsTo;  // as written into the link
        fs_::path target;    // the file that must get the text
    };
    const LinkCase cases[] = {
        {"BesideTheTarget", folder / "beside.edf", "netlist.edf", folder / "netlist.edf"},
        {"Absolute", folder / "links" / "absolute.edf", folder / "netlist.edf", folder / "netlist.edf"},
        {"RelativeToItsOwnFolder", folder / "links" / "up.edf", "../netlist.edf", folder / "netlist.edf"},
        {"ThroughAnotherLink", folder / "links" / "chain.edf", "up.edf", folder / "netlist.edf"},
        {"ToAFileNotYetThere", folder / "links" / "new.edf", "../new netlist \xC3\xA9.edf",
         folder / "new netlist \xC3\xA9.edf"},
    };
    for (const LinkCase& c : cases)
        fs_::create_symlink(c.pointsTo, c.link);
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = std::string("(edif ") + c.name + ")\n";
        path = c.link.string();
        EXPECT_TRUE(WriteInPieces(text));
        EXPECT_TRUE(fs_::is_symlink(c.link));
        EXPECT_EQ(fs_::read_symlink(c.link), c.pointsTo);
        EXPECT_EQ(ReadAll(c.target.string()), text);
    }
    struct stat info {};
    ::stat((folder / "netlist.edf").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the target keeps its mode";
    EXPECT_EQ(FilesInFolder(), 4u) << "netlist.edf, beside.edf, links/, the new file; nothing left over";
}

TEST_F(DiskFileSystemTest, ALoopOfLinksRefusesTheWriteStream) {
    std::filesystem::create_symlink("b.edf", folder / "a.edf");
    std::filesystem::create_symlink("a.edf", folder / "b.edf");
    path = (folder / "a.edf").string();
    EXPECT_EQ(fs.StreamCreate(path, kStreamCreateWrite), 0);
    std::string failure;
    EXPECT_TRUE(fs.TakeFailure(path, failure));
    EXPECT_NE(failure.find("symbolic links"), std::string::npos) << failure;
}

// The known stamp is the file as this program last read it whole or wrote it, and nothing else.
TEST_F(DiskFileSystemTest, KnownStampFollowsCompleteReadsAndWritesOnly) {
    EXPECT_FALSE(fs.KnownStamp(path).has_value());
    char buffer[64];
    int32_t h = fs.StreamCreate(path, kStreamOpenRead);
    fs.StreamRead(h, buffer, sizeof buffer);
    ASSERT_TRUE(fs.StreamClose(h));
    const TDiskStamp read = DiskStampOf(path);
    EXPECT_EQ(fs.KnownStamp(path), read);

    fs.FailNthWrite(1);
    EXPECT_FALSE(WriteInPieces("(edif lost)\n"));
    EXPECT_EQ(fs.KnownStamp(path), read) << "a failed write changed nothing on disk";

    EXPECT_TRUE(WriteInPieces("(edif new)\n"));
    EXPECT_EQ(fs.KnownStamp(path), DiskStampOf(path));
    EXPECT_NE(fs.KnownStamp(path), read);

    // A read that fails half way (here: the name now stands for a folder) is not a known state.
    const std::string written = (folder / "netlist.edf").string();
    std::filesystem::remove(written);
    std::filesystem::create_directory(written);
    h = fs.StreamCreate(written, kStreamOpenRead);
    ASSERT_NE(h, 0);
    EXPECT_EQ(fs.StreamRead(h, buffer, sizeof buffer), -1);
    fs.StreamClose(h);
    EXPECT_NE(fs.KnownStamp(written), DiskStampOf(written));
}

TEST(EditorKindTest, EdifExtensionsAndEverythingElse) {
    for (const char* p : {"/a/b.edf", "/a/b.EDN", "b.edif", "/x.y/b.edo"})
        EXPECT_STREQ(TDiskFileSystem::EditorKindOf(p).c_str(), kEdifEditorKind) << p;
    for (const char* p : {"/a/b.v", "/a.edf/b", "noext", ""})
        EXPECT_STREQ(TDiskFileSystem::EditorKindOf(p).c_str(), kTextEditorKind) << p;
}

}  // namespace

}  // namespace harbinet
