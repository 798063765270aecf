#include "languages/text_source.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "languages/syntax_parser.h"
#include "languages/syntax_scheme.h"
#include "tests/languages/host_languages_folder.h"

namespace tarnwick {
namespace {

void SetLines(TTextSource& source, const std::vector<std::string>& lines) { source.Lines().Assign(lines); }

// ---- The language's scheme and templates ----------------------------------------------------

class TextSourceLanguageTest : public testing::Test {
protected:
    TextSourceLanguageTest() {
        THostLanguagesFolder::SetUp(source.LanguageManager());
        source.Dialogs.ShowErrorMessage = [this](const std::string& m) { messages.push_back(m); };
        folder.Write("Languages.ini", "[FileAssociations]\nedf=EDIF\nbad=Broken\nv=Verilog\n");
        folder.Write("EDIF.syn", EdifScheme());
        folder.Write("EDIF.tpl",
                     "object TPersHolder\n  P = <\n    item\n      Name = 'cell'\n    end>\nend\n");
        folder.Write("Broken.syn", "object TPersHolder\n  P.Name = \n");
        folder.Write("Verilog.syn", "");  // a language whose scheme file is empty
    }

    // A scheme file of its own, told apart by its name.
    static std::string EdifScheme() {
        TSyntaxScheme scheme;
        scheme.Name = "EDIF";
        scheme.SyntaxBlocks[0].FIText = 3;
        return scheme.WriteToText();
    }

    THostLanguagesFolder folder;
    TTextSource source;
    TSyntaxParser parser;
    std::vector<std::string> messages;
};

TEST_F(TextSourceLanguageTest, KeyWithoutALanguageGetsTheEmptyScheme) {
    source.SetLanguageKey("EDF");
    source.LoadLanguageScheme(&parser);
    ASSERT_EQ(parser.SyntaxScheme().Name, "EDIF");

    source.SetLanguageKey("txt");
    source.LoadLanguageScheme(&parser);
    const TSyntaxScheme& scheme = parser.SyntaxScheme();
    EXPECT_EQ(scheme.Name, "");
    EXPECT_EQ(scheme.FontTable.Count(), 0u);
    ASSERT_EQ(scheme.SyntaxBlocks.size(), 1u);
    EXPECT_EQ(scheme.SyntaxBlocks[0].Name, "");
    TSyntaxBlock block = scheme.SyntaxBlocks[0];
    for (const int* style : block.BlockStyles())
        EXPECT_EQ(*style, -1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TextSourceLanguageTest, SchemeFileThatIsNotASchemeIsReportedAndKeepsTheOldScheme) {
    source.SetLanguageKey("edf");
    source.LoadLanguageScheme(&parser);
    source.SetLanguageKey("bad");
    EXPECT_THROW(source.LoadLanguageScheme(&parser), TSchemeReadError);
    EXPECT_EQ(messages, std::vector<std::string>{"Can't read syntax scheme from file \"" +
                                                 folder.Path("Broken.syn") + "\"."});
    EXPECT_EQ(parser.SyntaxScheme().Name, "EDIF");
}

TEST_F(TextSourceLanguageTest, TemplatesOfTheKeyOrNone) {
    source.SetLanguageKey("edf");
    source.LoadLanguageTemplates();
    ASSERT_EQ(source.CodeTemplates().Count(), 1u);
    EXPECT_EQ(source.CodeTemplates()[0].Name, "cell");

    source.SetLanguageKey("v");  // a language without a template file
    source.LoadLanguageTemplates();
    EXPECT_EQ(source.CodeTemplates().Count(), 0u);
}

TEST_F(TextSourceLanguageTest, SchemeEditorForAKeyWithoutALanguageOnlyTellsSo) {
    bool editorRan = false;
    source.Dialogs.SchemeEditor = [&](TTextSource&, TColorValue, TColorValue, TSyntaxScheme&) {
        return editorRan = true;
    };
    const std::string listBefore = folder.Read("Languages.ini");
    source.SetLanguageKey("xyz");
    source.RunSchemeEditor(clWindowText, clWindow);
    EXPECT_EQ(messages, std::vector<std::string>{"No language is associated with xyz files."});
    EXPECT_FALSE(editorRan);
    EXPECT_EQ(folder.Read("Languages.ini"), listBefore);
}

TEST_F(TextSourceLanguageTest, SchemeEditorSavesTheSchemeOnlyAfterOk) {
    source.SetLanguageKey("edf");
    for (const bool ok : {false, true}) {
        source.Dialogs.SchemeEditor = [ok](TTextSource&, TColorValue, TColorValue, TSyntaxScheme& s) {
            s.Name = "Edited";
            return ok;
        };
        source.RunSchemeEditor(clWindowText, clWindow);
        TSyntaxScheme onDisk;
        onDisk.LoadFromFile(folder.Path("EDIF.syn"));
        EXPECT_EQ(onDisk.Name, ok ? "Edited" : "EDIF");
    }
}

// ---- Line operations used by the window and the search panel --------------------------------

struct TFileNameCase {
    const char* name;
    std::string line;
    TPosition caret;
    std::optional<std::pair<TPosition, TPosition>> selection;  // stream selection
    std::string expected;
};

void PrintTo(const TFileNameCase& c, std::ostream* out) { *out << c.name; }

class FileNameAtCaretTest : public testing::TestWithParam<TFileNameCase> {};

TEST_P(FileNameAtCaretTest, NamesTheFileAtTheCaret) {
    const TFileNameCase& c = GetParam();
    TTextSource source;
    SetLines(source, {c.line, "second line", ""});
    source.SetCaret(c.caret.CharPos, c.caret.LinePos);
    if (c.selection) {
        const auto [from, to] = *c.selection;
        source.SetSelection(from.CharPos, from.LinePos, to.CharPos, to.LinePos);
        source.SetSelectionKind(stStream);
    }
    const std::string delimiters = source.Delimeters();
    EXPECT_EQ(source.FileNameAtCaret(), c.expected);
    EXPECT_EQ(source.Delimeters(), delimiters);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lines, FileNameAtCaretTest, testing::Values(
    TFileNameCase{"PathAtTheCaret", "open /home/u/cpu.edf, then", {0, 9}, {}, "/home/u/cpu.edf"},
    TFileNameCase{"DriveAndBackslashes", "(C:\\work\\cpu.v)", {0, 3}, {}, "C:\\work\\cpu.v"},
    TFileNameCase{"OtherDelimitersStillEndTheName", "a=b.v;c", {0, 3}, {}, "b.v"},
    TFileNameCase{"OneSelectedLineIsTrimmed", "  my file.v  ", {0, 0},
                  std::make_pair(TPosition{0, 0}, TPosition{0, 13}), "my file.v"},
    TFileNameCase{"SelectionEndingAtTheNextLineStart", "name with blanks.v", {0, 0},
                  std::make_pair(TPosition{0, 0}, TPosition{1, 0}), "name with blanks.v"},
    TFileNameCase{"TwoFullLinesGiveTheWordAtTheCaret", "x.v y.v", {0, 5},
                  std::make_pair(TPosition{0, 0}, TPosition{1, 4}), "y.v"},
    TFileNameCase{"NoWordNoName", "a   b", {0, 2}, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(TextSourceLinesTest, FindLinesListsEveryLineWithAMatch) {
    TTextSource source;
    // A match left of the previous match's column on the next line is still found.
    SetLines(source, {"    net a", "net b", "nothing", "net net", "NET"});
    source.SetCaret(2, 2);
    std::vector<int32_t> found;
    for (int32_t line = source.FindFirstLine("net", true, false, false); line > 0;
         line = source.FindNextLine())
        found.push_back(line);
    EXPECT_EQ(found, (std::vector<int32_t>{1, 2, 4}));
    EXPECT_EQ(source.Caret(), (TPosition{2, 2}));

    found.clear();
    for (int32_t line = source.FindFirstLine("^", false, false, true); line > 0; line = source.FindNextLine())
        found.push_back(line);
    EXPECT_EQ(found, (std::vector<int32_t>{1, 2, 3, 4, 5}));

    EXPECT_EQ(source.FindFirstLine("net", false, true, false), 1);
    EXPECT_EQ(source.FindNextLine(), 2);
    EXPECT_EQ(source.FindFirstLine("absent", false, false, false), -1);
    EXPECT_EQ(source.FindNextLine(), -1);
}

struct TGotoCase {
    const char* name;
    std::vector<std::optional<std::string>> answers;  // one per time the dialog shows
    std::vector<int64_t> shown;                       // the numbers it shows
    int32_t caretLine;
};

void PrintTo(const TGotoCase& c, std::ostream* out) { *out << c.name; }

class AskGotoLineTest : public testing::TestWithParam<TGotoCase> {};

TEST_P(AskGotoLineTest, AsksUntilALineExistsOrCancel) {
    const TGotoCase& c = GetParam();
    TTextSource source;
    SetLines(source, {"one", "two", "three", "four"});
    source.SetCaret(2, 1);
    std::vector<int64_t> shown;
    source.Dialogs.GotoLineDialog = [&](TTextSource&, int64_t number) {
        shown.push_back(number);
        return shown.size() <= c.answers.size() ? c.answers[shown.size() - 1] : std::nullopt;
    };
    source.AskGotoLine();
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(source.Caret(), (TPosition{c.caretLine, 2}));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Dialog, AskGotoLineTest, testing::Values(
    TGotoCase{"ValidLineKeepsTheColumn", {"4"}, {2}, 3},
    TGotoCase{"ZeroAndNegativeGoToTheFirstLine", {" -7 "}, {2}, 0},
    TGotoCase{"NotANumberStaysOnTheLine", {"abc"}, {2}, 1},
    TGotoCase{"PastTheEndAsksAgainWithThatNumber", {"99", "3"}, {2, 99}, 2},
    TGotoCase{"CancelChangesNothing", {std::nullopt}, {2}, 1}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(TextSourceLinesTest, LineAccessLeavesLinesOutsideTheTextAlone) {
    TTextSource source;
    SetLines(source, {"one", "two"});
    EXPECT_EQ(source.GetLineText(1), "two");
    EXPECT_EQ(source.GetLineText(2), "");
    EXPECT_EQ(source.GetLineText(-1), "");
    source.PutLineText(1, "TWO");
    source.PutLineText(2, "three");
    EXPECT_EQ(source.Text(), "one\r\nTWO");
    source.SetReadOnly(true);
    source.PutLineText(0, "changed");
    EXPECT_EQ(source.GetLineText(0), "one");

    source.SetCaret(2, 0);
    EXPECT_TRUE(source.GotoLineIndex(1));
    EXPECT_EQ(source.Caret(), (TPosition{1, 2}));
    EXPECT_FALSE(source.GotoLineIndex(2));
    EXPECT_EQ(source.Caret(), (TPosition{1, 2}));
}

// ---- Commands the text source changes -------------------------------------------------------

// Each command runs through the buffer's own interface, as key bindings call it. The caret and
// the selection are placed before the options are set, so they may stand past a line's end.
struct TCommandCase {
    const char* name;
    TStringsOptions options;
    bool overwrite;
    TPosition caret;
    std::optional<std::array<int32_t, 4>> columnBlock;  // left, top, right, bottom
    void (TCustomMemoSource::*command)();
    TPosition caretAfter;
    std::string textAfter;
};

void PrintTo(const TCommandCase& c, std::ostream* out) { *out << c.name; }

class ChangedCommandTest : public testing::TestWithParam<TCommandCase> {};

TEST_P(ChangedCommandTest, RunsWithItsOptionsAndRestoresThem) {
    const TCommandCase& c = GetParam();
    TTextSource source;
    SetLines(source, {" first", "ab", "last"});
    source.SetCaret(c.caret.CharPos, c.caret.LinePos);
    if (c.columnBlock) {
        const auto [left, top, right, bottom] = *c.columnBlock;
        source.SetSelection(left, top, right, bottom);
        source.SetSelectionKind(stColumn);
    }
    source.SetOptions(c.options);
    if (c.overwrite)
        source.SetOverwriteMode();
    TCustomMemoSource& buffer = source;
    (buffer.*c.command)();
    source.SetInsertMode();
    EXPECT_EQ(source.Caret(), c.caretAfter);
    EXPECT_EQ(source.Text(), c.textAfter);
    EXPECT_EQ(source.Options(), c.options);
}

const TStringsOptions kLimitEol = TStringsOptions{}.With(soLimitEOL);
const TStringsOptions kNone{};
const std::string kText = " first\r\nab\r\nlast";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Commands, ChangedCommandTest, testing::Values(
    TCommandCase{"CaretLeftAtColumnZeroGoesToTheEndAbove", kLimitEol, false, {1, 0}, {},
                 &TCustomMemoSource::CaretLeft, {0, 6}, kText},
    TCommandCase{"CaretLeftOnTheFirstLineStays", kLimitEol, false, {0, 0}, {},
                 &TCustomMemoSource::CaretLeft, {0, 0}, kText},
    TCommandCase{"CaretLeftWithoutLimitEolStays", kNone, false, {1, 0}, {},
                 &TCustomMemoSource::CaretLeft, {1, 0}, kText},
    TCommandCase{"TabInOverwriteModePassesTheLineEnd", kLimitEol, true, {1, 2}, {},
                 &TCustomMemoSource::TabKey, {1, 4}, kText},
    TCommandCase{"IndentKeepsTheCaretPastTheLineEnd", kLimitEol, false, {1, 4},
                 std::array<int32_t, 4>{3, 0, 4, 1}, &TCustomMemoSource::IndentBlock, {1, 5},
                 " fi rst\r\nab\r\nlast"},
    TCommandCase{"UnindentKeepsTheCaretPastTheLineEnd", kLimitEol, false, {1, 5},
                 std::array<int32_t, 4>{0, 0, 5, 1}, &TCustomMemoSource::UnindentBlock, {1, 4},
                 "first\r\nab\r\nlast"},
    TCommandCase{"NewLineInOverwriteModeOnTheLastLine", kNone, true, {2, 2}, {},
                 &TCustomMemoSource::NewLine, {2, 4}, kText},
    TCommandCase{"NewLineSplitsAsBefore", kNone, false, {1, 1}, {},
                 &TCustomMemoSource::NewLine, {2, 0}, " first\r\na\r\nb\r\nlast"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace tarnwick
