// The requests other servers send a text window in parameter strings: the line marks they
// drive, their replies within the parameter buffer, and what bad values do.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "editor/text_view.h"
#include "editor/text_window.h"
#include "host/abi/parameter_list.h"
#include "languages/text_source.h"
#include "textengine/search_options.h"

namespace tarnwick {
namespace {

std::unique_ptr<TTextWindow> NewWindow(int lines) {
    std::unique_ptr<TTextWindow> window(TTextWindow::Create(nullptr, nullptr));
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "line " + std::to_string(i) + (i + 1 < lines ? "\r\n" : "");
    window->TextSource().Lines().SetText(text);
    return window;
}

// A caller's buffer of exactly the parameter limit, so that a write past it is caught.
struct TBuffer {
    explicit TBuffer(const std::string& text) : bytes(kParameterStringLimit, '\0') {
        std::memcpy(bytes.data(), text.data(), std::min(text.size(), bytes.size() - 1));
    }
    std::vector<char> bytes;
    char* data() { return bytes.data(); }
    [[nodiscard]] std::string Text() const { return bytes.data(); }
};

std::string Request(TTextWindow& window, const std::string& request) {
    TBuffer buffer(request);
    window.ExternalRequest(buffer.data());
    return buffer.Text();
}

// The style a line shows, by name, or "" for none.
std::string StyleOf(TTextWindow& window, int32_t line) {
    const uint8_t style = window.TextSource().LineStyle(line);
    return style == 0 ? "" : window.View().TextStyles().At(style)->Name;
}

// ---- Marks ------------------------------------------------------------------------------------

TEST(LineMarksTest, EveryMarkHasItsStyleAndAGutterImageInTheirOrder) {
    auto window = NewWindow(1);
    TTextView& view = window->View();
    const TDCGutterImages& images = view.GutterImgs();
    ASSERT_EQ(images.Count(), 14);
    EXPECT_EQ(images.IndexOf(kBreakPointMark), 0);
    EXPECT_EQ(images.IndexOf(kExecutionPointMark), 11);
    EXPECT_EQ(images.IndexOf(kErrorLineMark), 12);
    EXPECT_EQ(images.IndexOf(kDisabledBreakpointMark), 13);
    struct Look {
        const char* name;
        TColorValue text, background;
    };
    for (const Look& look :
         {Look{kExecutionPointMark, clWindow, 0xFF0000}, Look{kBreakPointMark, clWindow, 0x0000FF},
          Look{kDisabledBreakpointMark, 0x0000FF, 0x00FF00}, Look{kErrorLineMark, clWindow, 0x000080}}) {
        SCOPED_TRACE(look.name);
        const int32_t index = view.TextStyles().IndexOf(look.name);
        ASSERT_GE(index, 0);
        const TTextStyle& style = *view.TextStyles().At(index);
        EXPECT_EQ(style.Font.Color, look.text);
        EXPECT_EQ(style.Color, look.background);
        EXPECT_FALSE(style.UseMemoColor);
    }
    EXPECT_EQ(view.TextStyles().IndexOf(kExecutionPointMark), 26) << "appended after the default styles";
    EXPECT_EQ(view.TextStyles().IndexOf(kBreakPointMark), 13) << "redefined in place";
    EXPECT_GT(view.GutterLineIndent, images[0].Glyph.width()) << "numbers beside the marks, not under them";
}

struct MarkCase {
    const char* name;
    std::vector<std::string> requests;  // sent in order, caret on line 2 at the start
    std::vector<std::string> styles;    // per line of a six-line text
    std::vector<int32_t> breakpoints;
    int32_t caretLine;
};

class MarkRequestTest : public testing::TestWithParam<MarkCase> {};

TEST_P(MarkRequestTest, LeavesTheLinesInTheirMarksColours) {
    const MarkCase& c = GetParam();
    auto window = NewWindow(6);
    window->TextSource().SetCaret(3, 2);
    for (const std::string& request : c.requests)
        Request(*window, request);
    std::vector<std::string> styles;
    for (int32_t line = 0; line < 6; ++line)
        styles.push_back(StyleOf(*window, line));
    EXPECT_EQ(styles, c.styles);
    EXPECT_EQ(window->View().BreakpointLines(), c.breakpoints);
    EXPECT_EQ(window->TextSource().Caret().LinePos, c.caretLine);
}

const std::string B = "BreakPoint", E = "ExecutionPoint", X = "Error line";
INSTANTIATE_TEST_SUITE_P(
    Requests, MarkRequestTest,
    testing::Values(
        MarkCase{"ToggleWithLineZeroTakesTheCaretLine",
                 {"Command=BreakPoint|Action=Toggle|LineNumber=0"},
                 {"", "", B, "", "", ""},
                 {2},
                 2},
        MarkCase{"ToggleTwiceRemoves",
                 {"Command=BreakPoint|Action=Toggle|LineNumber=4",
                  "Command=breakpoint|Action=toggle|LineNumber=4"},
                 {"", "", "", "", "", ""},
                 {},
                 2},
        MarkCase{
            "MovingTheExecutionLineRestoresTheBreakpointColours",
            {"Command=BreakPoint|Action=Add|LineNumber=1", "Command=HiLightLine|Action=HiLight|LineNumber=1",
             "Command=HiLightLine|Action=HiLight|LineNumber=4"},
            {"", B, "", "", E, ""},
            {1},
            4},
        MarkCase{
            "RemovingTheBreakpointUnderTheExecutionLineShowsItAgainAndGoesThere",
            {"Command=BreakPoint|Action=Add|LineNumber=5", "Command=HiLightLine|Action=HiLight|LineNumber=5",
             "Command=GotoNowhere", "Command=BreakPoint|Action=Add|LineNumber=1",
             "Command=BreakPoint|Action=Remove|LineNumber=5"},
            {"", B, "", "", "", E},
            {1},
            5},
        MarkCase{"AnErrorLineMovesAndTheExecutionLineShowsWhereItLeaves",
                 {"Command=HiLightLine|Action=HiLight|LineNumber=3",
                  "Command=ErrorLine|Action=HiLight|LineNumber=3",
                  "Command=ErrorLine|Action=HiLight|LineNumber=1"},
                 {"", X, "", E, "", ""},
                 {},
                 1},
        MarkCase{"UnlinkClearsBreakpointsAndTheExecutionLineButKeepsTheErrorLine",
                 {"Command=BreakPoint|Action=Add|LineNumber=1", "Command=BreakPoint|Action=Add|LineNumber=3",
                  "Command=HiLightLine|Action=HiLight|LineNumber=4",
                  "Command=ErrorLine|Action=HiLight|LineNumber=5", "Command=LinkWithDebugger|Action=UnLink"},
                 {"", "", "", "", "", X},
                 {},
                 5},
        MarkCase{"UnHiLightClearsOnlyItsOwnKind",
                 {"Command=HiLightLine|Action=HiLight|LineNumber=1",
                  "Command=ErrorLine|Action=HiLight|LineNumber=4", "Command=HiLightLine|Action=UnHiLight"},
                 {"", "", "", "", X, ""},
                 {},
                 4},
        MarkCase{"LinesOutsideTheTextTakeNoMarkButTheCaretStillMoves",
                 {"Command=BreakPoint|Action=Add|LineNumber=6", "Command=BreakPoint|Action=Add|LineNumber=-1",
                  "Command=HiLightLine|Action=HiLight|LineNumber=2147483647"},
                 {"", "", "", "", "", ""},
                 {},
                 5},
        MarkCase{"BadLineNumbersStandForTheCaretLine",
                 {"Command=BreakPoint|Action=Add|LineNumber=", "Command=BreakPoint|Action=Add|LineNumber=x1",
                  "Command=BreakPoint|Action=Add|LineNumber=99999999999999999999",
                  "Command=BreakPoint|Action=Add|LineNumber=1x", "Command=BreakPoint|Action=Add"},
                 {"", "", B, "", "", ""},
                 {2},
                 2},
        MarkCase{
            "UnknownCommandsAndActionsDoNothing",
            {"Command=", "Action=Toggle|LineNumber=1", "Command=Breakpoints|Action=Toggle|LineNumber=1",
             "Command=BreakPoint|Action=Flip|LineNumber=1", "Command=HiLightLine|Action=Shine|LineNumber=1"},
            {"", "", "", "", "", ""},
            {},
            2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineMarksTest, MarksMoveWithTheirLines) {
    auto window = NewWindow(4);
    Request(*window, "Command=BreakPoint|Action=Add|LineNumber=2");
    window->TextSource().SetCaret(0, 0);
    window->InsertText("new\r\n");
    EXPECT_EQ(window->View().BreakpointLines(), std::vector<int32_t>{3});
    EXPECT_EQ(StyleOf(*window, 3), B);
}

// ---- Replies ---------------------------------------------------------------------------------

struct ReplyCase {
    const char* name;
    std::string request;
    std::string reply;
};

class ReplyTest : public testing::TestWithParam<ReplyCase> {};

// Three lines "line 0" .. "line 2", caret at column 3 of line 1, breakpoints on lines 0 and 2.
TEST_P(ReplyTest, AnswersInTheSameBuffer) {
    const ReplyCase& c = GetParam();
    auto window = NewWindow(3);
    Request(*window, "Command=BreakPoint|Action=Add|LineNumber=2");
    window->TextSource().SetCaret(0, 0);
    Request(*window, "Command=BreakPoint|Action=Add|LineNumber=0");
    window->TextSource().SetCaret(3, 1);
    EXPECT_EQ(Request(*window, c.request), c.reply);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ReplyTest,
    testing::Values(
        ReplyCase{"Length", "Command=GetDocumentLength", "Length=3"},
        ReplyCase{"CommandInAnyCaseAndBlanks", "command=  getdocumentlength ", "Length=3"},
        ReplyCase{"Cursor", "Command=GetCurrentCursorPosition|Extra=1", "LineNumber=1|Column=3"},
        ReplyCase{"Word", "Command=GetWordAtCursor", "WordAtCursor=line"},
        ReplyCase{"Clean", "Command=QueryDirtyFlag", "DirtyFlag=False"},
        ReplyCase{"NoReplyLeavesTheBufferAlone", "Command=ClearDirtyFlag| x = y ",
                  "Command=ClearDirtyFlag| x = y "},
        ReplyCase{"UnknownCommand", "Command=Nothing", "Command=Nothing"},
        ReplyCase{
            "ListKeepsTheRequest", "Command=BreakPoint|Action=GetAllBreakPoints",
            "Command=BreakPoint|Action=GetAllBreakPoints|LineNumber1=0|LineNumber2=2|TotalBreakPoints=2"},
        ReplyCase{"ListInLowerCaseEndsInTheCaretLine", "Command=BreakPoint|Action=getallbreakpoints",
                  "LineNumber=1"},
        ReplyCase{"ToggleRepliesTheCaretLine", "Command=BreakPoint|Action=Toggle|LineNumber=2",
                  "LineNumber=1"},
        ReplyCase{"AnyOtherActionRepliesTheCaretLine", "Command=BreakPoint|Action=Flip", "LineNumber=1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplyTest, ClearingTheDirtyFlagClearsTheBuffersFlag) {
    auto window = NewWindow(2);
    window->TextSource().SetModified(true);
    EXPECT_EQ(Request(*window, "Command=QueryDirtyFlag"), "DirtyFlag=True");
    Request(*window, "Command=ClearDirtyFlag");
    EXPECT_FALSE(window->TextSource().Modified());
    EXPECT_EQ(Request(*window, "Command=QueryDirtyFlag"), "DirtyFlag=False");
}

// Whole pairs within the buffer, and the total counts every breakpoint, listed or not.
TEST(ReplyTest, ABreakpointListLongerThanTheBufferIsCutBetweenPairs) {
    auto window = NewWindow(20000);
    for (int32_t line = 1; line < 20000; ++line)
        window->View().AddBreakpoint(line);
    const std::string reply = Request(*window, "Command=BreakPoint|Action=GetAllBreakPoints");
    EXPECT_LT(reply.size(), kParameterStringLimit);
    EXPECT_GT(reply.size(), kParameterStringLimit - 40);
    TParameterList list;
    list.ParseParameters(reply);
    EXPECT_EQ(list.GetParameterValue("TotalBreakPoints"), "19999");
    const std::size_t listed = list.Count() - 3;  // Command, Action, the total
    EXPECT_EQ(list.GetParameterValue("LineNumber" + std::to_string(listed)), std::to_string(listed));
    EXPECT_FALSE(list.FindParameter("LineNumber" + std::to_string(listed + 1)));
}

TEST(ReplyTest, AFullBufferWithoutATerminatorIsReadWithinItself) {
    auto window = NewWindow(3);
    TBuffer buffer("Command=GetDocumentLength|Filler=");
    std::fill(buffer.bytes.begin() + 33, buffer.bytes.end(), 'x');  // no terminator anywhere
    window->ExternalRequest(buffer.data());
    EXPECT_EQ(buffer.Text(), "Length=3");
}

// ---- Cross-probing -----------------------------------------------------------------------------

struct ProbeCase {
    const char* name;
    std::string selected;
    std::string request;
    std::string reply;
};

class CrossProbeTargetTest : public testing::TestWithParam<ProbeCase> {};

TEST_P(CrossProbeTargetTest, NamesTheSelectionsKindAndId) {
    const ProbeCase& c = GetParam();
    std::unique_ptr<TTextWindow> window(TTextWindow::Create(nullptr, nullptr));
    window->TextSource().Lines().SetText(c.selected + " tail");
    window->TextSource().SetSelection(0, 0, int32_t(c.selected.size()), 0);
    window->TextSource().SetSelectionKind(stStream);
    TBuffer buffer(c.request);
    window->QueryCrossProbeTarget(buffer.data());
    EXPECT_EQ(buffer.Text(), c.reply);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, CrossProbeTargetTest,
    testing::Values(
        ProbeCase{"Pin", "U1-5", "", "Kind=PIN|Id=5:U1"},
        ProbeCase{"PinAsked", "U1-5", "TargetKind=pin", "TargetKind=pin|Kind=PIN|Id=5:U1"},
        ProbeCase{"Location", "100,200", "TargetKind=LOCATION",
                  "TargetKind=LOCATION|Kind=LOCATION|Id=100:200"},
        ProbeCase{"Text", "CLK", "", "Kind=TEXT|Id=CLK"},
        ProbeCase{"OtherKindTakesTheSelection", "CLK", "TargetKind=net", "TargetKind=net|Kind=NET|Id=CLK"},
        ProbeCase{"SecondKindWhenTheFirstIsAbsent", "U1-5", "TargetKind1=Net",
                  "TargetKind1=Net|Kind=NET|Id=U1-5"},
        ProbeCase{"NoSelection", "", "TargetKind=NET", "TargetKind=NET|Result=False"},
        ProbeCase{"ABarCannotTravel", "U1|Result=True", "TargetKind=NET", "TargetKind=NET|Result=False"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CrossProbeToTest, APositionSelectsItsLineAndAnIdBecomesTheNextSearch) {
    auto window = NewWindow(5);
    TBuffer position("Kind=position|LineNumber=3|ColumnNumber=2");
    window->CrossProbeTo(position.data());
    EXPECT_EQ(window->TextSource().Caret().LinePos, 3);
    EXPECT_EQ(window->TextSource().SelectionText(), "line 3\r\n");

    TSearchOptions& options = TSearchOptions::Shared();
    options = TSearchOptions{};
    options.CaseSensitive = true;
    struct IdCase {
        const char* id;
        const char* found;
    };
    for (const IdCase& c :
         {IdCase{"u1:5", "U1"}, IdCase{":5:net7", "NET7"}, IdCase{"::", "NET7"}, IdCase{":pin9", "PIN9"}}) {
        SCOPED_TRACE(c.id);
        TBuffer id(std::string("Kind=Part|Id=") + c.id);
        window->CrossProbeTo(id.data());
        EXPECT_EQ(options.TextToFind, c.found);
        EXPECT_FALSE(options.CaseSensitive);
        EXPECT_TRUE(options.WholeWordsOnly);
    }
    EXPECT_EQ(window->TextSource().Caret().LinePos, 3) << "no search is run";
}

// The caret would stand where the next insertion appends every line up to it.
TEST(CrossProbeToTest, APositionPastTheTextIsRefused) {
    auto window = NewWindow(5);
    for (const char* line : {"5", "1187640", "2147483647"}) {
        SCOPED_TRACE(line);
        TBuffer position(std::string("Kind=Position|LineNumber=") + line + "|ColumnNumber=1");
        window->CrossProbeTo(position.data());
        ASSERT_EQ(window->TextSource().Caret(), (TPosition{0, 0})) << "the insertion below would not end";
        window->InsertText("x");
        EXPECT_EQ(window->TextSource().LineCount(), 5);
        window->TextSource().Undo();
    }
}

// ---- Text by line ------------------------------------------------------------------------------

TEST(GetTextTest, SizeLinesAndTheEndOfTheText) {
    auto window = NewWindow(3);
    struct Case {
        const char* request;
        const char* reply;
    };
    for (const Case& c :
         {Case{"GetSize=1", "GetSize=1|Size=24"}, Case{"LineNumber=1", "line 1"},
          Case{"LineNumber=3", "LineNumber=3|EOF=TRUE"}, Case{"LineNumber=-1", "LineNumber=-1|EOF=TRUE"},
          Case{"LineNumber=one", "LineNumber=one"}, Case{"Other=1", "Other=1"}}) {
        SCOPED_TRACE(c.request);
        TBuffer buffer(c.request);
        window->GetText(buffer.data());
        EXPECT_EQ(buffer.Text(), c.reply);
    }
}

TEST(GetTextTest, ALineLongerThanTheBufferIsCut) {
    std::unique_ptr<TTextWindow> window(TTextWindow::Create(nullptr, nullptr));
    window->TextSource().Lines().SetText(std::string(100000, 'a'));
    TBuffer buffer("LineNumber=0");
    window->GetText(buffer.data());
    EXPECT_EQ(buffer.Text(), std::string(kParameterStringLimit - 1, 'a'));
}

TEST(GetTextTest, AllTheTextGoesToANewTemporaryFile) {
    auto window = NewWindow(2);
    TBuffer buffer("GetAll=1");
    window->GetText(buffer.data());
    const std::string reply = buffer.Text();
    ASSERT_EQ(reply.rfind("FileName=", 0), 0u) << reply;
    const std::filesystem::path path = reply.substr(9);
    EXPECT_EQ(path.filename().string().rfind("Pro", 0), 0u);
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text, "line 0\nline 1\n");
    std::filesystem::remove(path);
}

// Both ways of going to a line, the number in the request and the go-to dialog, show the line in
// the middle of the view.
TEST(TextByLineTest, GotoLineCentresTheLine) {
    auto window = NewWindow(1000);
    window->View().resize(600, 400);
    const int32_t half = window->View().FullyVisibleRows() / 2;
    ASSERT_GT(half, 2);
    TBuffer go("NewLineNumber=600");
    window->GotoLine(go.data());
    EXPECT_EQ(window->TextSource().Caret().LinePos, 600);
    EXPECT_EQ(window->View().TopRow(), 600 - half);

    window->TextSource().Dialogs.GotoLineDialog = [](TTextSource&, int64_t) { return std::string("300"); };
    TBuffer ask("");
    window->GotoLine(ask.data());
    EXPECT_EQ(window->TextSource().Caret().LinePos, 299);
    EXPECT_EQ(window->View().TopRow(), 299 - half);
}

TEST(TextByLineTest, GotoInsertAndSetLineKeepToTheText) {
    auto window = NewWindow(3);
    TTextSource& source = window->TextSource();
    source.SetCaret(2, 0);
    for (const char* bad : {"NewLineNumber=3", "NewLineNumber=-1", "NewLineNumber=two", "NewLineNumber="}) {
        TBuffer buffer(bad);
        window->GotoLine(buffer.data());
        EXPECT_EQ(source.Caret().LinePos, 0) << bad;
    }
    TBuffer go("NewLineNumber=2");
    window->GotoLine(go.data());
    EXPECT_EQ(source.Caret(), (TPosition{2, 2}));

    source.SetCaret(4, 0);
    window->InsertText("A\rB\nC\r\nD");
    EXPECT_EQ(source.GetLineText(0), "lineA");
    EXPECT_EQ(source.GetLineText(3), "D 0");
    window->InsertText("");

    for (const char* bad : {"LineNumber=9|Text=x", "LineNumber=x|Text=x", "LineNumber=1"}) {
        TBuffer buffer(bad);
        window->SetLineText(buffer.data());
    }
    TBuffer set("LineNumber=1|Text=  replaced  ");
    window->SetLineText(set.data());
    EXPECT_EQ(source.GetLineText(1), "replaced");
    EXPECT_EQ(source.LineCount(), 6);
}

}  // namespace
}  // namespace tarnwick
