// Text documents of libtarnwick.so driven the way a host drives them: through interfaces and
// vtable slots only, with harbinet's disk file system behind the host streams.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/abi/com_ptr.h"
#include "host/abi/text_interfaces.h"
#include "host/abi/virtual_key_codes.h"
#include "hostapp/disk_file_system.h"
#include "tests/integration/host_streams_for_tests.h"
#include "tests/integration/recording_host.h"
#include "tests/support/string_stream.h"

RecordingHost& TheRecordingHost();

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Slot n of the command interface, called as the host calls it: through the vtable.
using TPlainSlot = void (*)(ITextEditorCommands*);
using TParamsSlot = void (*)(ITextEditorCommands*, char*);
using TQuerySlot = void (*)(ITextEditorCommands*, char*, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*);

template <class Slot>
Slot SlotFunction(ITextEditorCommands& commands, int slot) {
    return (*reinterpret_cast<Slot**>(&commands))[slot];
}

void RunSlot(ITextEditorCommands& commands, int slot) { SlotFunction<TPlainSlot>(commands, slot)(&commands); }

void RunSlot(ITextEditorCommands& commands, int slot, std::string params) {
    std::vector<char> buffer(64000, '\0');
    std::copy(params.begin(), params.end(), buffer.begin());
    SlotFunction<TParamsSlot>(commands, slot)(&commands, buffer.data());
}

// A parameter slot's reply: the buffer as the slot left it.
std::string Ask(ITextEditorCommands& commands, int slot, const std::string& params) {
    std::vector<char> buffer(64000, '\0');
    std::copy(params.begin(), params.end(), buffer.begin());
    SlotFunction<TParamsSlot>(commands, slot)(&commands, buffer.data());
    return buffer.data();
}

int32_t RunReload(ITextEditorCommands& commands, int slot = 99) {
    return SlotFunction<int32_t (*)(ITextEditorCommands*)>(commands, slot)(&commands);
}

// The five results of a state query, each preset to 7 so that a write shows.
std::array<int32_t, 5> Query(ITextEditorCommands& commands, int slot, std::string params = {}) {
    std::vector<char> buffer(64000, '\0');
    std::copy(params.begin(), params.end(), buffer.begin());
    std::array<int32_t, 5> r{7, 7, 7, 7, 7};
    SlotFunction<TQuerySlot>(commands, slot)(&commands, buffer.data(), &r[0], &r[1], &r[2], &r[3], &r[4]);
    return r;
}

constexpr int kDeleteSelection = 3, kCut = 17, kDeleteChar = 18, kSelectAll = 102, kUndo = 127, kRedo = 98,
              kSetWrapMode = 132, kCanCopy = 134, kCanPaste = 135, kCanCut = 136, kCanUndo = 137,
              kCanRedo = 138, kIsWrapMode = 139, kTextStart = 88, kCaretDown = 78, kCaretRight = 81;
constexpr int kCaretLineStart = 83, kWindowBottom = 85, kWindowTop = 89;

// Answers every message box the plug-in shows with the chosen button and keeps its text, so
// that a box a test did not expect cannot block it.
class MessageBoxes {
public:
    MessageBoxes() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBox(); });
        timer_.start();
    }
    std::vector<std::string> shown;
    QString button = "OK";
    bool paused = false;  // while a test answers a dialog itself

private:
    void AnswerOpenBox() {
        if (paused)
            return;
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* label = dialog->findChild<QLabel*>("Message");
        shown.push_back(label ? label->text().toStdString() : std::string("(no message)"));
        if (auto* answer = dialog->findChild<QPushButton*>(button))
            answer->click();
        else
            dialog->reject();
    }
    QTimer timer_;
};

class PluginDocumentTest : public testing::Test {
protected:
    void SetUp() override {
        host = RecordingHost{};
        StreamFaults() = {};
        IServerModule* raw = nullptr;
        PluginFactory()(&raw, &host);
        module = TComPtr<IServerModule>::Adopt(raw);
        host.notify = module.Get();
        folder = fs::path(testing::TempDir()) /
                 ("plugin-doc-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        // The module and its documents hold each other: the host breaks the cycle.
        for (IServerDocument* document : created)
            module->DestroyDocument(document);
        harbinet::TDiskFileSystem::Instance().FailNthWrite(0);
        harbinet::TDiskFileSystem::Instance().FailNextCommitAt(harbinet::TDiskFileSystem::TCommitStep::None);
        fs::remove_all(folder);
    }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    TComPtr<IServerDocument> Create(const std::string& path) {
        auto document = TComPtr<IServerDocument>::Adopt(module->CreateDocument("EDIF", path.c_str()));
        created.push_back(document.Get());
        return document;
    }

    // A document over a new file holding bytes, loaded and shown.
    TComPtr<IServerDocument> Open(const std::string& bytes, const std::string& name = "netlist.edf") {
        WriteAll(PathOf(name), bytes);
        auto document = Create(PathOf(name));
        EXPECT_EQ(document->LoadDocument(), kTrue);
        TComPtr<IServerDocumentView>::Adopt(document->GetView(1))->Show();
        return document;
    }

    static std::string Line(IServerDocument& document, int32_t index) {
        std::vector<char> buffer(1 << 16, '#');
        TComPtr<IServerDocument>::Share(&document).As<ITextContent>()->GetLine(index, buffer.data());
        return buffer.data();
    }

    static TComPtr<ITextEditorCommands> Commands(IServerDocument& document) {
        return TComPtr<IServerDocument>::Share(&document).As<ITextEditorCommands>();
    }
    static TComPtr<ITextContent> Content(IServerDocument& document) {
        return TComPtr<IServerDocument>::Share(&document).As<ITextContent>();
    }
    static QWidget* Editor(IServerDocument& document) {
        auto view = TComPtr<IServerDocumentView>::Adopt(document.GetView(1));
        return reinterpret_cast<QWidget*>(view->GetWindowHandle())->focusProxy();
    }

    std::string Caret() { return host.ui.status[1]; }

    RecordingHost& host = TheRecordingHost();
    TComPtr<IServerModule> module;
    std::vector<IServerDocument*> created;
    fs::path folder;
    MessageBoxes boxes;
};

// ---- Views and the document's file ---------------------------------------------------------

TEST_F(PluginDocumentTest, ADocumentHasThePanelViewFirstTheEditorViewSecondAndTheOutlineThird) {
    auto document = Create(PathOf("a.edf"));
    ASSERT_TRUE(document);
    ASSERT_EQ(document->GetViewCount(), 3);
    auto panel = TComPtr<IServerDocumentView>::Adopt(document->GetView(0));
    auto editor = TComPtr<IServerDocumentView>::Adopt(document->GetView(1));
    auto outline = TComPtr<IServerDocumentView>::Adopt(document->GetView(2));
    EXPECT_STREQ(panel->GetViewName(), "EDIFSearchPanel");
    EXPECT_EQ(panel->IsPanel(), -1);
    EXPECT_STREQ(editor->GetViewName(), "EDIFEditor");
    EXPECT_EQ(editor->IsPanel(), 0);
    EXPECT_STREQ(outline->GetViewName(), "EDIFOutline");
    EXPECT_EQ(outline->IsPanel(), -1);
    EXPECT_TRUE(document.As<ITextNavigation>()) << "offered beside the editing commands";
    EXPECT_EQ(TComPtr<IServerDocument>::Adopt(editor->GetOwnerDocument()).Get(), document.Get());
    EXPECT_STREQ(editor->GetDocumentKind(), "EDIF");
    EXPECT_EQ(Content(*document)->GetLineCount(), 0) << "empty until loaded";
    EXPECT_EQ(document->GetDocumentModified(), kFalse);
}

TEST_F(PluginDocumentTest, SaveWritesToTheDocumentsOwnFileWhateverTheNameAndClearsTheFlag) {
    auto document = Open("(edif a)\n(b)\n");
    EXPECT_EQ(document->IsUnchanged(), kTrue);
    EXPECT_EQ(document->GetDocumentModified(), kFalse);
    document->SetDocumentModified(kTrue);
    EXPECT_EQ(document->IsUnchanged(), kFalse);
    EXPECT_EQ(document->GetDocumentModified(), kTrue);
    document->SetDocumentModified(kFalse);
    EXPECT_EQ(document->GetDocumentModified(), kFalse);

    Content(*document)->SetLine(1, "(c)");
    EXPECT_EQ(document->GetDocumentModified(), kTrue);
    const std::string elsewhere = PathOf("elsewhere.edf");
    EXPECT_EQ(document->SaveDocument(elsewhere.c_str()), kTrue);
    EXPECT_EQ(ReadAll(PathOf("netlist.edf")), "(edif a)\n(c)\n");
    EXPECT_FALSE(fs::exists(elsewhere));
    EXPECT_EQ(document->GetDocumentModified(), kFalse);
    EXPECT_TRUE(boxes.shown.empty());
}

struct RoundTripCase {
    const char* name;
    std::string file;
    std::string saved;  // what an unedited save writes back
};

class LineEndRoundTripTest : public PluginDocumentTest, public testing::WithParamInterface<RoundTripCase> {};

TEST_P(LineEndRoundTripTest, AnUneditedFileSavesAsItWasRead) {
    const RoundTripCase& c = GetParam();
    auto document = Open(c.file);
    ASSERT_EQ(document->SaveDocument(""), kTrue);
    EXPECT_EQ(ReadAll(PathOf("netlist.edf")), c.saved);
}

std::string EveryByteButLineEndsAndBlanks() {
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        if (c != '\n' && c != '\r' && c != '\t' && c != ' ')
            bytes += char(c);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineEndRoundTripTest,
    testing::Values(RoundTripCase{"LfWithFinal", "a\nb\n", "a\nb\n"},
                    RoundTripCase{"LfWithoutFinal", "a\nb", "a\nb"},
                    RoundTripCase{"CrLfWithFinal", "a\r\nb\r\n", "a\r\nb\r\n"},
                    RoundTripCase{"CrLfWithoutFinal", "a\r\nb", "a\r\nb"},
                    RoundTripCase{"CrWithFinal", "a\rb\r", "a\rb\r"},
                    RoundTripCase{"EmptyLinesAtTheEnd", "a\n\n\n", "a\n\n\n"},
                    RoundTripCase{"OnlyALineEnd", "\r\n", "\r\n"},
                    RoundTripCase{"NoLineEndAtAll", "(edif x)", "(edif x)"}, RoundTripCase{"Empty", "", ""},
                    RoundTripCase{"BinaryBytes",
                                  EveryByteButLineEndsAndBlanks() + "\n" + EveryByteButLineEndsAndBlanks(),
                                  EveryByteButLineEndsAndBlanks() + "\n" + EveryByteButLineEndsAndBlanks()},
                    RoundTripCase{"TheFirstLineEndDecides", "a\r\nb\nc\n", "a\r\nb\r\nc\r\n"},
                    RoundTripCase{"LoadRulesDropTrailingBlanksAndExpandTabs", "a  \n\tb\n", "a\n    b\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Failures never look like success -----------------------------------------------------

struct SaveFaultCase {
    const char* name;
    void (*inject)();
};

class FailedSaveTest : public PluginDocumentTest, public testing::WithParamInterface<SaveFaultCase> {};

TEST_P(FailedSaveTest, KeepsTheFileTheFlagAndSaysWhichFile) {
    const std::string original = "(edif original)\r\n(cell x)\r\n";
    auto document = Open(original);
    Content(*document)->SetLine(0, "(edif changed)");
    GetParam().inject();
    EXPECT_EQ(document->SaveDocument(""), kFalse);
    EXPECT_EQ(ReadAll(PathOf("netlist.edf")), original);
    EXPECT_EQ(document->GetDocumentModified(), kTrue);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].find(PathOf("netlist.edf")), std::string::npos) << boxes.shown[0];
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
        << "no temporary file left";

    EXPECT_EQ(document->SaveDocument(""), kTrue) << "the next save, without a fault, lands";
    EXPECT_EQ(ReadAll(PathOf("netlist.edf")), "(edif changed)\r\n(cell x)\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedSaveTest,
    testing::Values(SaveFaultCase{"Write", [] { harbinet::TDiskFileSystem::Instance().FailNthWrite(1); }},
                    SaveFaultCase{"Flush",
                                  [] {
                                      harbinet::TDiskFileSystem::Instance().FailNextCommitAt(
                                          harbinet::TDiskFileSystem::TCommitStep::Flush);
                                  }},
                    SaveFaultCase{"Rename",
                                  [] {
                                      harbinet::TDiskFileSystem::Instance().FailNextCommitAt(
                                          harbinet::TDiskFileSystem::TCommitStep::Rename);
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnreadableCase {
    const char* name;
    void (*make)(const std::string& path);  // makes path exist but unreadable
};

class UnreadableFileTest : public PluginDocumentTest, public testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableFileTest, IsRefusedByNameAndNeverWrittenOver) {
    const std::string path = PathOf("netlist.edf");
    GetParam().make(path);
    const std::string before = fs::is_regular_file(path) ? ReadAll(path) : std::string();
    auto document = Create(path);
    EXPECT_EQ(document->LoadDocument(), kFalse);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].find(path), std::string::npos) << boxes.shown[0];
    StreamFaults() = {};

    Content(*document)->SetLine(0, "typed");
    RunSlot(*Commands(*document), kSelectAll);
    RunSlot(*Commands(*document), kDeleteChar);
    EXPECT_EQ(document->SaveDocument(""), kFalse);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(boxes.shown[1].find(path), std::string::npos) << boxes.shown[1];
    if (fs::is_regular_file(path))
        EXPECT_EQ(ReadAll(path), before);
    else
        EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(host.ui.status[3], "Read Only");

    if (!fs::is_regular_file(path))
        return;
    EXPECT_EQ(document->LoadDocument(), kTrue) << "once the file can be read, it is the document";
    EXPECT_EQ(Content(*document)->GetLineCount(), 1);
    EXPECT_EQ(host.ui.status[3], "");
    EXPECT_EQ(document->SaveDocument(""), kTrue);
    EXPECT_EQ(ReadAll(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableFileTest,
    testing::Values(UnreadableCase{"NoPermission",
                                   [](const std::string& p) {
                                       WriteAll(p, "(edif secret)\n");
                                       StreamFaults().refuseOpen = p;
                                   }},
                    UnreadableCase{"AFolder", [](const std::string& p) { fs::create_directory(p); }},
                    UnreadableCase{"AnIoError",
                                   [](const std::string& p) {
                                       WriteAll(p, "(edif x)\n");
                                       StreamFaults().failReads = true;
                                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PluginDocumentTest, AReloadThatCannotReadKeepsTheTextAndItsChanges) {
    auto document = Open("(edif a)\n");
    Content(*document)->SetLine(0, "(edif mine)");
    StreamFaults().failReads = true;
    boxes.button = "Yes";
    EXPECT_EQ(RunReload(*Commands(*document)), kFalse);
    ASSERT_EQ(boxes.shown.size(), 2u);  // the question, then why
    EXPECT_EQ(boxes.shown[0], "Reloading will lose all changes. Continue?");
    EXPECT_EQ(Line(*document, 0), "(edif mine)");
    EXPECT_EQ(document->GetDocumentModified(), kTrue);
    StreamFaults() = {};
    EXPECT_EQ(document->SaveDocument(""), kTrue) << "the user's text may still be saved";
    EXPECT_EQ(ReadAll(PathOf("netlist.edf")), "(edif mine)\n");
}

TEST_F(PluginDocumentTest, ReloadAsksFirstAndNoKeepsTheChanges) {
    auto document = Open("(edif a)\n");
    Content(*document)->SetLine(0, "(edif mine)");
    boxes.button = "No";
    EXPECT_EQ(RunReload(*Commands(*document)), kFalse);
    EXPECT_EQ(Line(*document, 0), "(edif mine)");
    boxes.button = "Yes";
    EXPECT_EQ(RunReload(*Commands(*document)), kTrue);
    EXPECT_EQ(Line(*document, 0), "(edif a)");
    EXPECT_EQ(document->GetDocumentModified(), kFalse);
}

// ---- ITextContent -------------------------------------------------------------------------

TEST_F(PluginDocumentTest, LinesAreReadAndWrittenOneByOneWithinTheText) {
    auto document = Open("(edif a)\n\n(cell b)\n");
    auto content = Content(*document);
    EXPECT_EQ(content->GetLineCount(), 3);
    std::array<char, 16> buffer;
    buffer.fill('#');
    content->GetLine(2, buffer.data());
    EXPECT_EQ(std::string(buffer.data(), 10), std::string("(cell b)\0#", 10))
        << "the line and its end, no more";
    for (const int32_t outside : {3, -1, 1 << 30}) {
        buffer.fill('#');
        content->GetLine(outside, buffer.data());
        EXPECT_EQ(buffer[0], '#') << outside;
    }
    content->GetLine(0, nullptr);

    content->SetLine(1, "(new)");
    content->SetLine(3, "(past the end)");
    content->SetLine(-1, "(before)");
    content->SetLine(0, nullptr);
    EXPECT_EQ(content->GetLineCount(), 3);
    EXPECT_EQ(Line(*document, 1), "(new)");
    EXPECT_EQ(Query(*Commands(*document), kCanUndo)[0], kFalse) << "a line set from outside is not undone";
}

TEST_F(PluginDocumentTest, StreamsAndFilesOfOtherServersCarryTheLines) {
    auto document = Open("(edif a)\r\n(b)\r\n");
    auto content = Content(*document);
    StringStream out;
    content->SaveLinesToStream(&out);
    EXPECT_EQ(out.data, "(edif a)\r\n(b)\r\n");
    const std::string copy = PathOf("copy.edf");
    content->SaveLinesToFile(copy.c_str());
    EXPECT_EQ(ReadAll(copy), "(edif a)\r\n(b)\r\n");

    StringStream in;
    in.data = "(x)\n(y)\n(z)";
    content->LoadLinesFromStream(&in);
    EXPECT_EQ(content->GetLineCount(), 3);
    EXPECT_EQ(Line(*document, 2), "(z)");
    EXPECT_EQ(document->GetDocumentModified(), kTrue) << "the text is no longer the file's";
    EXPECT_EQ(Query(*Commands(*document), kCanUndo)[0], kFalse);
    ASSERT_EQ(document->SaveDocument(""), kTrue);
    EXPECT_EQ(ReadAll(PathOf("netlist.edf")), "(x)\r\n(y)\r\n(z)\r\n") << "still the file's line ends";

    content->SaveLinesToStream(nullptr);
    content->LoadLinesFromStream(nullptr);
    content->SaveLinesToFile((folder / "no-such-folder" / "x").string().c_str());
    EXPECT_EQ(boxes.shown.size(), 1u) << "the failed write is reported";
}

TEST_F(PluginDocumentTest, PreferencesAreReappliedAndAnnouncedWithCodeFive) {
    auto document = Open("(edif a)\n");
    auto content = Content(*document);
    content->ReapplyPreferences();
    content->AnnouncePreferencesChanged();
    EXPECT_EQ(host.notifications, std::vector<int32_t>{5});
}

TEST_F(PluginDocumentTest, AReadOnlyTextTakesNoLinesFromOutside) {
    WriteAll(PathOf("netlist.edf"), "(edif a)\n");
    auto document = Create(PathOf("netlist.edf"));
    StreamFaults().failReads = true;
    EXPECT_EQ(document->LoadDocument(), kFalse);  // the text stays empty and turns read-only
    StreamFaults() = {};
    auto content = Content(*document);
    StringStream in;
    in.data = "(x)\n";
    content->LoadLinesFromStream(&in);
    content->SetLine(0, "(y)");
    EXPECT_EQ(content->GetLineCount(), 0);
    RunSlot(*Commands(*document), kUndo);
    EXPECT_EQ(content->GetLineCount(), 0);
}

// ---- Bad input -----------------------------------------------------------------------------

TEST_F(PluginDocumentTest, OddFilesOpenWithoutHarm) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += char(i * 37 % 256);
    auto binaryDocument = Open(binary, "binary.bin");
    EXPECT_GT(Content(*binaryDocument)->GetLineCount(), 0);

    auto empty = Open("", "empty.edf");
    EXPECT_EQ(Content(*empty)->GetLineCount(), 0);
    RunSlot(*Commands(*empty), kSelectAll);
    RunSlot(*Commands(*empty), kCut);
    RunSlot(*Commands(*empty), kUndo);

    const std::string longLine(10 << 20, 'n');
    auto huge = Open(longLine, "long.edf");
    auto content = Content(*huge);
    ASSERT_EQ(content->GetLineCount(), 1);
    std::vector<char> buffer(longLine.size() + 2, '#');
    content->GetLine(0, buffer.data());
    EXPECT_EQ(buffer[longLine.size()], '\0');
    EXPECT_EQ(buffer[longLine.size() + 1], '#') << "nothing past the line's end";
    content->SetLine(0, std::string(longLine.size(), 'm').c_str());
    RunSlot(*Commands(*huge), kUndo);
    content->GetLine(0, buffer.data());
    EXPECT_EQ(std::string(buffer.data()), std::string(longLine.size(), 'm')) << "nothing to undo";
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PluginDocumentTest, APathWithoutAFolderPartReadsNothing) {
    const std::string bare = "bare-name-plugin-document-test.edf";
    WriteAll(bare, "(edif here)\n");
    auto document = Create(bare);
    EXPECT_EQ(document->LoadDocument(), kTrue);
    EXPECT_EQ(Content(*document)->GetLineCount(), 0);
    fs::remove(bare);
}

// ---- The editing commands, by slot number -------------------------------------------------

struct CaretCase {
    int slot;
    const char* status;  // "line: column" after the slot ran
};

TEST_F(PluginDocumentTest, CaretSlotsMoveAsNamedAndBothTextEndsReachTheEnd) {
    auto document = Open("ab(cd\nefg\nhi\n");
    auto commands = Commands(*document);
    const CaretCase steps[] = {
        {82, "1: 4"},  // word right: over "ab" and the delimiter
        {80, "1: 1"},  // word left
        {81, "1: 2"},  // character right
        {86, "1: 6"},  // line end
        {83, "1: 1"},  // line start
        {78, "2: 1"},  // line down
        {90, "1: 1"},  // line up
        {84, "3: 3"},  // document end
        {79, "3: 2"},  // character left
        {88, "1: 1"},  // document start
        {87, "3: 3"},  // document end again
    };
    for (const CaretCase& step : steps) {
        RunSlot(*commands, step.slot);
        EXPECT_EQ(Caret(), step.status) << "slot " << step.slot;
    }
    RunSlot(*commands, kWindowBottom);
    const std::string bottom = Caret();
    RunSlot(*commands, kWindowTop);
    EXPECT_EQ(Caret().substr(0, 3), "1: ");
    EXPECT_NE(bottom.substr(0, 3), "1: ") << "the window shows more than one row";
}

TEST_F(PluginDocumentTest, EverySelectionSlotSelectsAndStreamAndColumnDiffer) {
    auto document = Open("abcdef\nghijkl\nmnopqr\n");
    auto commands = Commands(*document);
    auto fromMiddle = [&] {
        RunSlot(*commands, kTextStart);
        RunSlot(*commands, kCaretDown);
        RunSlot(*commands, kCaretRight);
        RunSlot(*commands, kCaretRight);
    };
    for (int slot = 27; slot <= 54; ++slot) {  // 27-36 and 39-42 column, the others stream
        fromMiddle();
        RunSlot(*commands, slot);
        EXPECT_EQ(Query(*commands, kCanCopy)[0], kTrue) << "slot " << slot;
    }

    struct Deleted {
        int slot;
        std::vector<std::string> lines;  // after deleting the selection
    };
    const Deleted cases[] = {
        {44, {"abcdef", "ghjkl", "mnopqr"}},  // stream, character right
        {37, {"abcdef", "gijkl", "mnopqr"}},  // stream, character left
        {47, {"abcdef", "ijkl", "mnopqr"}},   // stream, line start
        {50, {"abcdef", "gh", "mnopqr"}},     // stream, line end
        {45, {"abcdef", "gh", "mnopqr"}},     // stream, word right
        {38, {"abcdef", "ijkl", "mnopqr"}},   // stream, word left
        {52, {"abcdef", "ghopqr"}},           // stream, line down
        {53, {"abijkl", "mnopqr"}},           // stream, line up
        {46, {"ijkl", "mnopqr"}},             // stream, document start
        {49, {"abcdef", "gh"}},               // stream, document end
    };
    auto content = Content(*document);
    for (const Deleted& c : cases) {
        content->LoadLinesFromStream(nullptr);
        StringStream text;
        text.data = "abcdef\nghijkl\nmnopqr\n";
        content->LoadLinesFromStream(&text);
        fromMiddle();
        RunSlot(*commands, c.slot);
        RunSlot(*commands, kDeleteSelection);
        std::vector<std::string> lines;
        for (int32_t i = 0; i < content->GetLineCount(); ++i)
            lines.push_back(Line(*document, i));
        EXPECT_EQ(lines, c.lines) << "slot " << c.slot;
    }

    // A column selection over two lines takes a piece of each and joins none.
    for (const int slot : {39, 42}) {
        StringStream text;
        text.data = "abcdef\nghijkl\nmnopqr\n";
        content->LoadLinesFromStream(&text);
        fromMiddle();
        RunSlot(*commands, slot);
        RunSlot(*commands, 41);  // one column right
        RunSlot(*commands, kDeleteSelection);
        EXPECT_EQ(content->GetLineCount(), 3) << "slot " << slot;
        EXPECT_LT(Line(*document, 1).size(), 6u) << "slot " << slot;
        EXPECT_LT(Line(*document, slot == 39 ? 2 : 0).size(), 6u) << "slot " << slot;
    }
}

TEST_F(PluginDocumentTest, BookmarkSlotsComeInTheOrderOneTenTwoToNine) {
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "line " + std::to_string(i) + "\n";
    auto document = Open(text);
    auto commands = Commands(*document);
    auto toLine = [&](int line) {
        RunSlot(*commands, kTextStart);
        for (int i = 0; i < line; ++i)
            RunSlot(*commands, kCaretDown);
    };
    // Slot i of each triple (toggle 106+i, go to 66+i, clear 4+i) sets its own bookmark.
    for (int i = 0; i < 10; ++i) {
        toLine(i + 1);
        RunSlot(*commands, 106 + i);
    }
    for (int i = 0; i < 10; ++i) {
        RunSlot(*commands, kTextStart);
        RunSlot(*commands, 66 + i);
        EXPECT_EQ(Caret(), std::to_string(i + 2) + ": 1") << "go to slot " << 66 + i;
        EXPECT_EQ(Query(*commands, kCanCopy)[0], kTrue) << "the line is selected";
    }
    toLine(3);
    RunSlot(*commands, 108);  // toggle on its own line clears it
    RunSlot(*commands, 4);    // clear the first
    for (const int gotoSlot : {66, 68}) {
        toLine(11);
        RunSlot(*commands, gotoSlot);
        EXPECT_EQ(Caret(), "12: 1") << "a cleared bookmark only selects the caret line; slot " << gotoSlot;
    }
    toLine(11);
    RunSlot(*commands, 67);
    EXPECT_EQ(Caret(), "3: 1") << "slot 67 still finds bookmark ten";
}

TEST_F(PluginDocumentTest, WrapModeIsSetAndCheckedByItsLimitInAnyCase) {
    auto document = Open("(edif a)\n");
    auto commands = Commands(*document);
    struct Check {
        const char* set;
        int32_t margin, window, none;  // IsWrapMode's checked result for each limit
    };
    const Check checks[] = {
        {"Limit=Margin", kTrue, kFalse, kFalse},
        {"Limit=window", kFalse, kTrue, kFalse},
        {"Limit=Page", kFalse, kTrue, kFalse},  // unknown: nothing changes
        {"", kFalse, kTrue, kFalse},
        {"Limit=NONE", kFalse, kFalse, kTrue},
    };
    for (const Check& c : checks) {
        RunSlot(*commands, kSetWrapMode, c.set);
        EXPECT_EQ(Query(*commands, kIsWrapMode, "Limit=margin"),
                  (std::array<int32_t, 5>{7, c.margin, 7, 7, 7}))
            << c.set;
        EXPECT_EQ(Query(*commands, kIsWrapMode, "Limit=Window"),
                  (std::array<int32_t, 5>{7, c.window, 7, 7, 7}))
            << c.set;
        EXPECT_EQ(Query(*commands, kIsWrapMode, " limit = None "),
                  (std::array<int32_t, 5>{7, c.none, 7, 7, 7}))
            << c.set;
        EXPECT_EQ(Query(*commands, kIsWrapMode, "Limit=Page"), (std::array<int32_t, 5>{7, 7, 7, 7, 7}))
            << c.set;
    }
    EXPECT_EQ(host.notifications.size(), std::size(checks)) << "each SetWrapMode announces a change";
}

TEST_F(PluginDocumentTest, StateQueriesWriteOnlyTheirFirstResult) {
    auto document = Open("(edif a)\n");
    auto commands = Commands(*document);
    const std::array<int32_t, 5> no{kFalse, 7, 7, 7, 7}, yes{kTrue, 7, 7, 7, 7};
    EXPECT_EQ(Query(*commands, kCanCopy), no);
    EXPECT_EQ(Query(*commands, kCanCut), no);
    EXPECT_EQ(Query(*commands, kCanUndo), no);
    EXPECT_EQ(Query(*commands, kCanRedo), no);
    RunSlot(*commands, kSelectAll);
    EXPECT_EQ(Query(*commands, kCanCopy), yes);
    EXPECT_EQ(Query(*commands, kCanCut), yes);
    RunSlot(*commands, kDeleteSelection);
    EXPECT_EQ(Query(*commands, kCanUndo), yes);
    RunSlot(*commands, kUndo);
    EXPECT_EQ(Query(*commands, kCanRedo), yes);
    RunSlot(*commands, kRedo);
    EXPECT_EQ(Query(*commands, kCanRedo), no);

    QApplication::clipboard()->setText("pasted");
    EXPECT_EQ(Query(*commands, kCanPaste), yes);
    QApplication::clipboard()->clear();
    EXPECT_EQ(Query(*commands, kCanPaste), no);
}

TEST_F(PluginDocumentTest, EverySlotIsReachableOnAnEmptyAndAFullDocument) {
    for (const char* text : {"", "(edif a\n  (b c)\n)\n"}) {
        auto document = Open(text);
        auto commands = Commands(*document);
        boxes.button = "No";
        for (int slot = 3; slot <= 133; ++slot) {
            SCOPED_TRACE(slot);
            if (slot == 99)
                RunReload(*commands);
            else if (slot == 15 || slot == 16 || slot == 26 || slot == 58 || slot == 59 || slot == 118 ||
                     slot == 132)
                RunSlot(*commands, slot, "");
            else if (slot == 65)
                SlotFunction<void (*)(ITextEditorCommands*, const char*)>(*commands, slot)(commands.Get(),
                                                                                           "x");
            else
                RunSlot(*commands, slot);
        }
        for (int slot = 134; slot <= 139; ++slot)
            Query(*commands, slot);
    }
}

// ---- Keys and the status line ---------------------------------------------------------------

TEST_F(PluginDocumentTest, KeysGoToTheHostFirstAndTheStatusLineFollows) {
    auto document = Open("(edif a)\n");
    QWidget* editor = Editor(*document);
    ASSERT_NE(editor, nullptr);
    host.ui.shortcutKey = vk::Letter('X');
    QTest::keyClick(editor, Qt::Key_X);
    EXPECT_EQ(host.ui.launched, 1);
    EXPECT_EQ(Line(*document, 0), "(edif a)") << "a host shortcut types nothing";
    EXPECT_EQ(document->GetDocumentModified(), kFalse);

    QTest::keyClick(editor, Qt::Key_Y);
    EXPECT_EQ(Line(*document, 0), "y(edif a)");
    EXPECT_EQ(host.ui.status[1], "1: 2");
    EXPECT_EQ(host.ui.status[3], "Modified");
    RunSlot(*Commands(*document), 126);  // insert mode off
    EXPECT_EQ(host.ui.status[2], "Overwrite");
    RunSlot(*Commands(*document), 126);
    EXPECT_EQ(host.ui.status[2], "Insert");
    EXPECT_EQ(host.notifications, (std::vector<int32_t>{5, 5}));
}

TEST_F(PluginDocumentTest, HelpAndOpeningAFileGoThroughTheHost) {
    auto document = Open("(edif other.edf)\n");
    // Bound to the editor view when it was made, the search panel asked for the location marks.
    ASSERT_EQ(host.processes.size(), 1u);
    EXPECT_EQ(host.processes[0].process, "TextEdit:UpdateLocationMarks");
    EXPECT_EQ(host.processes[0].context, TComPtr<IServerDocumentView>::Adopt(document->GetView(1)).Get());
    host.processes.clear();
    auto commands = Commands(*document);
    RunSlot(*commands, kCaretRight);
    RunSlot(*commands, 76);  // help on the word at the caret
    ASSERT_EQ(host.processes.size(), 1u);
    EXPECT_EQ(host.processes[0].process, "Client:RunHelpTopic");
    EXPECT_EQ(host.processes[0].params, "Topic = edif");
    EXPECT_EQ(host.processes[0].capacity, 255);
    EXPECT_EQ(host.processes[0].context, nullptr);

    for (int i = 0; i < 6; ++i)
        RunSlot(*commands, kCaretRight);
    RunSlot(*commands, 91);  // open the file named at the caret: not there yet
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], "Cannot find file named " + PathOf("other.edf") + ".");
    EXPECT_TRUE(host.opened.empty());

    WriteAll(PathOf("other.edf"), "(edif x)\n");
    RunSlot(*commands, 91);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], "|" + PathOf("other.edf"));
    EXPECT_EQ(host.shown.size(), 1u);
}

// ---- Other servers' requests ----------------------------------------------------------------

constexpr int kQueryCrossProbeTarget = 15, kExternalRequest = 26, kGetText = 58, kGotoLine = 59,
              kSetLineText = 118, kPreferences = 119;

struct RequestCase {
    const char* name;
    int slot;
    std::string params;
    std::string reply;
};

void CheckReplies(ITextEditorCommands& commands, const std::vector<RequestCase>& cases) {
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Ask(commands, c.slot, c.params), c.reply);
    }
}

TEST_F(PluginDocumentTest, RequestsOfOtherServersAnswerThroughTheirSlots) {
    auto document = Open("(edif a)\n(cell CLK)\nU1-5\n");
    auto commands = Commands(*document);
    Ask(*commands, kGotoLine, "NewLineNumber=2");
    RunSlot(*commands, kCaretLineStart);
    for (int i = 0; i < 4; ++i)
        RunSlot(*commands, 44);  // select "U1-5" character by character
    CheckReplies(
        *commands,
        {
            {"NetProbe", kQueryCrossProbeTarget, "TargetKind=NET", "TargetKind=NET|Kind=NET|Id=U1-5"},
            {"PinProbe", kQueryCrossProbeTarget, "TargetKind=", "TargetKind=|Kind=PIN|Id=5:U1"},
        });

    Ask(*commands, kGotoLine, "NewLineNumber=1");
    RunSlot(*commands, kCaretLineStart);
    RunSlot(*commands, kCaretRight);
    RunSlot(*commands, kCaretRight);
    CheckReplies(
        *commands,
        {
            {"Length", kExternalRequest, "Command=GetDocumentLength", "Length=3"},
            {"ToggleOnTheCaretLine", kExternalRequest, "Command=BreakPoint|Action=Toggle|LineNumber=0",
             "LineNumber=1"},
            {"AddLineTwo", kExternalRequest, "Command=BreakPoint|Action=Add|LineNumber=2", "LineNumber=1"},
            {"ListInLowerCase", kExternalRequest, "Command=BreakPoint|Action=getallbreakpoints",
             "LineNumber=1"},
            {"List", kExternalRequest, "Command=BreakPoint|Action=GetAllBreakPoints",
             "Command=BreakPoint|Action=GetAllBreakPoints|LineNumber1=1|LineNumber2=2|TotalBreakPoints=2"},
            {"Cursor", kExternalRequest, "Command=GetCurrentCursorPosition", "LineNumber=1|Column=2"},
            {"Word", kExternalRequest, "Command=GetWordAtCursor", "WordAtCursor=cell"},
            {"LineText", kGetText, "LineNumber=1", "(cell CLK)"},
            {"PastTheEnd", kGetText, "LineNumber=3", "LineNumber=3|EOF=TRUE"},
            {"Size", kGetText, "GetSize=", "GetSize=|Size=28"},
            {"NoCommand", kExternalRequest, "Action=Toggle|LineNumber=2", "Action=Toggle|LineNumber=2"},
        });
    Ask(*commands, kSetLineText, "LineNumber=0|Text=(edif b)");
    EXPECT_EQ(Line(*document, 0), "(edif b)");
}

TEST_F(PluginDocumentTest, ALinkedServerHearsItsBreakpointsAndTheShutdown) {
    auto document = Open("a\nb\nc\nd\n");
    auto commands = Commands(*document);
    const auto editor = TComPtr<IServerDocumentView>::Adopt(document->GetView(1));
    const IServerView* editorView = editor.Get();
    host.processes.clear();  // the search panel's request when it was bound at creation

    Ask(*commands, kExternalRequest, "Command=BreakPoint|Action=Toggle|LineNumber=2");
    EXPECT_TRUE(host.processes.empty()) << "no callback before a link";
    Ask(*commands, kExternalRequest,
        "Command=LinkWithDebugger|Action=Link|ServerName=Debugger|CallBackProcess=Callback|WindowHandle="
        "12345");
    Ask(*commands, kExternalRequest, "Command=BreakPoint|Action=Toggle|LineNumber=3");
    Ask(*commands, kExternalRequest, "Command=breakpoint|Action= remove |LineNumber=2");
    Ask(*commands, kExternalRequest, "Command=BreakPoint|Action=RemoveAll");
    Ask(*commands, kExternalRequest, "Command=BreakPoint|Action=GetAllBreakPoints");
    const std::vector<std::string> expected = {
        "Command=BreakPoint | Action=Toggle | LineNumber=3",
        "Command=breakpoint | Action=remove | LineNumber=2",
        "Command=BreakPoint | Action=RemoveAll | LineNumber=0",
    };
    ASSERT_EQ(host.processes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(host.processes[i].process, "Debugger:Callback");
        EXPECT_EQ(host.processes[i].params, expected[i]);
        EXPECT_EQ(host.processes[i].capacity, 257);
        EXPECT_EQ(host.processes[i].context, editorView);
    }

    // A link without a callback process, then a new one: callbacks follow the latest link.
    Ask(*commands, kExternalRequest, "Command=LinkWithDebugger|Action=Link|ServerName=Debugger");
    Ask(*commands, kExternalRequest, "Command=BreakPoint|Action=Add|LineNumber=1");
    EXPECT_EQ(host.processes.size(), expected.size());
    Ask(*commands, kExternalRequest,
        "Command=LinkWithDebugger|Action=Link|ServerName=Sim|CallBackProcess=Hit");

    host.processes.clear();
    module->DestroyDocument(document.Get());
    created.clear();
    const auto keptView = editor;  // the server may still hold the view it linked through
    document = {};
    commands = {};
    ASSERT_EQ(host.processes.size(), 1u);
    EXPECT_EQ(host.processes[0].process, "Sim:Hit");
    EXPECT_EQ(host.processes[0].params, "Command=ShutDown");
    EXPECT_EQ(host.processes[0].context, editorView);
}

TEST_F(PluginDocumentTest, UnlinkingStopsTheCallbacks) {
    auto document = Open("a\nb\n");
    auto commands = Commands(*document);
    host.processes.clear();  // the search panel's request when it was bound at creation
    Ask(*commands, kExternalRequest, "Command=LinkWithDebugger|Action=Link|ServerName=D|CallBackProcess=C");
    Ask(*commands, kExternalRequest, "Command=LinkWithDebugger|Action=UnLink|ServerName=D|CallBackProcess=C");
    Ask(*commands, kExternalRequest, "Command=BreakPoint|Action=Add|LineNumber=1");
    module->DestroyDocument(document.Get());
    created.clear();
    document = {};
    commands = {};
    EXPECT_TRUE(host.processes.empty());
}

// The dialog is answered from the event loop: tick a box and confirm.
TEST_F(PluginDocumentTest, ConfirmedPreferencesChangeEveryOpenEditor) {
    auto first = Open("(edif a)\n", "a.edf");
    auto second = Open("(edif b)\n", "b.edf");
    QWidget* other = Editor(*second);
    const QImage before = other->grab().toImage();
    boxes.paused = true;
    bool answered = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        auto* numbers = dialog ? dialog->findChild<QCheckBox*>("ShowLineNumbersCheck") : nullptr;
        auto* ok = dialog ? dialog->findChild<QPushButton*>("OkButton") : nullptr;
        if (!numbers || !ok)
            return;
        numbers->click();
        ok->click();
        answered = true;
    });
    RunSlot(*Commands(*first), kPreferences);
    boxes.paused = false;
    ASSERT_TRUE(answered);
    EXPECT_EQ(host.notifications, (std::vector<int32_t>{5}));
    QApplication::processEvents();
    EXPECT_NE(other->grab().toImage(), before) << "the other editor shows the line numbers";
}

}  // namespace
