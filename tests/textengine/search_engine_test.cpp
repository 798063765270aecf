#include "textengine/search_engine.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <deque>
#include <random>

#include "tests/textengine/test_support.h"
#include "textengine/memo_source.h"
#include "textengine/search_dialogs.h"

namespace tarnwick {
namespace {

// Answers the search commands' questions from a script and records what they showed.
class ScriptedDialogs : public TSearchDialogFactory {
public:
    class Dialog : public TSearchOptionsDialog {
    public:
        explicit Dialog(TModalResult result) : result_(result) {}
        TModalResult ShowModal() override { return result_; }

    private:
        TModalResult result_;
    };

    std::unique_ptr<TSearchOptionsDialog> CreateFindDialog(TCustomMemoSource&) override {
        ++dialogsCreated;
        return std::make_unique<Dialog>(dialogResult);
    }
    std::unique_ptr<TSearchOptionsDialog> CreateReplaceDialog(TCustomMemoSource&) override {
        ++dialogsCreated;
        return std::make_unique<Dialog>(dialogResult);
    }
    bool InputBox(TInputBoxRequest& request) override {
        inputRequests.push_back(request);
        if (inputAnswer.empty())
            return false;
        request.Value = inputAnswer;
        return true;
    }
    TReplaceAnswer AskReplace(const std::string& question) override {
        questions.push_back(question);
        EXPECT_FALSE(answers.empty()) << "unexpected question: " << question;
        if (answers.empty())
            return raCancel;
        const TReplaceAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowInformation(const std::string& message) override { messages.push_back(message); }
    void SetBusy(bool busy) override {
        busyStarts += busy && !busyNow;
        busyNow = busy;
    }

    TModalResult dialogResult = TModalResult::Ok;
    int dialogsCreated = 0;
    std::string inputAnswer;
    std::vector<TInputBoxRequest> inputRequests;
    std::deque<TReplaceAnswer> answers;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    bool busyNow = false;
    int busyStarts = 0;
};

class SearchEngineTest : public testing::Test {
protected:
    void SetUp() override {
        TSearchOptions::Shared() = TSearchOptions{};
        buffer.SetDelimeters("{}+-/*():=,;><$.#[]^@&~|%'\"");
        buffer.SetSearchDialogs(&dialogs);
        buffer.AddView([this](TCustomMemoSource&, int32_t, int32_t) { ++notifications; }, this, false);
    }
    void TearDown() override {
        buffer.RemoveView(this);
        TSearchOptions::Shared() = TSearchOptions{};
    }
    void Load(const std::vector<std::string>& lines) {
        buffer.Lines().Assign(lines);
        notifications = 0;
    }
    TSearchOptions& options() { return TSearchOptions::Shared(); }
    std::vector<std::string> Text() {
        std::vector<std::string> lines;
        for (int32_t i = 0; i < buffer.LineCount(); ++i)
            lines.push_back(buffer.LineText(i));
        return lines;
    }

    TMemoSource buffer;
    ScriptedDialogs dialogs;
    int notifications = 0;
};

TEST_F(SearchEngineTest, ForwardSearchTakesTheOccurrenceAtTheCaretThenMovesOn) {
    Load({"a cat b cat"});
    buffer.SetCaret(2, 0);
    options().TextToFind = "cat";
    options().Origin = soFromCursor;
    buffer.SearchFirst();
    EXPECT_EQ(buffer.Caret(), (TPosition{0, 5}));
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 2, 5}));
    buffer.SearchAgain();
    EXPECT_EQ(buffer.Caret(), (TPosition{0, 11}));
    EXPECT_TRUE(dialogs.messages.empty());
    buffer.SearchAgain();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Search string 'cat' not found"});
    EXPECT_TRUE(buffer.FoundRect().IsEmpty());
    EXPECT_FALSE(dialogs.busyNow);
}

TEST_F(SearchEngineTest, BackwardSearchNeverTakesTheOccurrenceAtTheCaret) {
    Load({"cat", "a cat b cat"});
    buffer.SetCaret(8, 1);
    options().TextToFind = "cat";
    options().Direction = sdBackward;
    buffer.SearchAgain();
    EXPECT_EQ(buffer.Caret(), (TPosition{1, 2}));
    buffer.SearchAgain();
    EXPECT_EQ(buffer.Caret(), (TPosition{0, 0}));
}

TEST_F(SearchEngineTest, FirstSearchOfTheEntireScopeStartsAtTheTop) {
    Load({"cat", "x", "cat"});
    buffer.SetCaret(0, 1);
    options().TextToFind = "cat";
    buffer.SearchFirst();
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 0, 3}));
    EXPECT_FALSE(options().FirstSearch);
}

TEST_F(SearchEngineTest, WholeWordsOnlyIsSwitchedOffForTextWithDelimiters) {
    Load({"xa.by"});
    options().TextToFind = "a.b";
    options().WholeWordsOnly = true;
    buffer.SearchFirst();
    EXPECT_FALSE(options().WholeWordsOnly);
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 1, 4}));
}

// Whole words go by the buffer's own delimiters, forward and backward.
TEST_F(SearchEngineTest, WholeWordsFollowTheBufferDelimiters) {
    Load({"concat cats (cat) cat"});
    options().TextToFind = "cat";
    options().WholeWordsOnly = true;
    buffer.SearchFirst();
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 13, 16}));
    buffer.SetDelimeters("");  // only blanks end words now: "(cat)" is one word
    buffer.SearchFirst();
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 18, 21}));

    Load({"cat cat_x xcat"});
    options().Direction = sdBackward;
    buffer.SearchFirst();
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 0, 3}));
    buffer.SetDelimeters("_");
    buffer.SearchFirst();
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 4, 7}));
}

// The delimiter test that switches whole words off is for plain text: a pattern holding
// delimiters leaves the option on for the searches after it.
TEST_F(SearchEngineTest, APatternWithDelimitersKeepsWholeWordsOn) {
    Load({"concat net12 cat"});
    options().WholeWordsOnly = true;
    options().RegularExpr = true;
    options().TextToFind = "net[0-9]+";
    buffer.SearchFirst();
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 7, 12}));
    EXPECT_TRUE(options().WholeWordsOnly);

    options().RegularExpr = false;
    options().TextToFind = "cat";
    buffer.SearchFirst();
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 13, 16}));
}

TEST_F(SearchEngineTest, FoundTextIsSelectedWithSelectFoundText) {
    Load({"one two"});
    buffer.SetOptions(buffer.Options().With(soSelectFoundText));
    options().TextToFind = "TWO";
    buffer.SearchFirst();
    EXPECT_EQ(buffer.SelectionType(), stStream);
    EXPECT_EQ(buffer.SelStart(), (TPosition{0, 4}));
    EXPECT_EQ(buffer.SelEnd(), (TPosition{0, 7}));
}

TEST_F(SearchEngineTest, SelectedTextScopeSearchesOnlyTheSelection) {
    Load({"cat cat", "cat cat"});
    buffer.SetSelection(4, 0, 3, 1);
    buffer.SetSelectionKind(stStream);
    options().TextToFind = "cat";
    options().Scope = ssSelectedText;
    buffer.SearchFirst();
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 4, 7}));
    EXPECT_EQ(buffer.Caret(), (TPosition{0, 7}));

    buffer.SetSelection(4, 0, 6, 1);
    buffer.SetSelectionKind(stColumn);
    options().Direction = sdBackward;
    buffer.SearchFirst();
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{1, 4, 7}));
}

TEST_F(SearchEngineTest, SelectedTextScopeErrors) {
    Load({"cat cat", "cat"});
    options().TextToFind = "cat";
    options().Scope = ssSelectedText;
    options().FirstSearch = true;
    int32_t length = 0;
    try {
        buffer.FindNext(length);
        ADD_FAILURE() << "no error";
    } catch (const ESearchError& e) {
        EXPECT_STREQ(e.what(), "Tried to search marked block but it is invalid");
    }
    EXPECT_TRUE(options().FirstSearch);
    buffer.SearchAgain();  // still waiting for the dialog's search: nothing happens
    EXPECT_TRUE(dialogs.messages.empty());

    std::vector<std::string> handled;
    buffer.OnSearchException = [&](TCustomMemoSource&, const std::string& message, bool& isHandled) {
        handled.push_back(message);
        isHandled = true;
    };
    buffer.SetCaret(0, 1);  // before selecting: a caret move drops the selection
    buffer.SetSelection(4, 0, 7, 0);
    buffer.SetSelectionKind(stStream);
    options().Scope = ssSelectedText;
    options().Origin = soFromCursor;
    EXPECT_FALSE(buffer.FindNext(length));
    EXPECT_EQ(handled, std::vector<std::string>{
                           "Tried to search marked block from cursor but cursor is outside block"});
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SearchEngineTest, MessagesForPatternErrorsAndNotFound) {
    Load({"abc"});
    options().RegularExpr = true;
    options().TextToFind = "{a";
    buffer.SearchFirst();
    options().RegularExpr = false;
    options().TextToFind = "a&b";
    buffer.SearchFirst();
    options().TextToFind.clear();
    buffer.SearchAgain();
    EXPECT_EQ(dialogs.messages,
              (std::vector<std::string>{"{a is invalid mask at (3)", "Search string 'a&&b' not found",
                                        "Search string '' not found"}));
}

TEST_F(SearchEngineTest, EmptyBufferFindsNothing) {
    Load({});
    options().TextToFind = "x";
    buffer.SearchFirst();
    options().RegularExpr = true;
    options().TextToFind = "^$";
    buffer.SearchFirst();
    EXPECT_EQ(dialogs.messages,
              (std::vector<std::string>{"Search string 'x' not found", "Search string '^$' not found"}));
}

TEST_F(SearchEngineTest, ReplaceAllOfAWithAaEndsAfterThreeReplacements) {
    Load({"aaa"});
    options().TextToFind = "a";
    options().ReplaceWith = "aa";
    options().ReplaceAll = true;
    buffer.ReplaceFirst();
    EXPECT_EQ(Text(), std::vector<std::string>{"aaaaaa"});
    EXPECT_EQ(buffer.ReplaceCount(), 3);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SearchEngineTest, ReplaceAllIsOneNotificationAndOneUndoStep) {
    buffer.SetOptions(buffer.Options().Without(soGroupUndo));
    Load({"net1 net2", "x", "net3"});
    options().TextToFind = "net";
    options().ReplaceWith = "wire";
    options().ReplaceAll = true;
    buffer.ReplaceFirst();
    EXPECT_EQ(Text(), (std::vector<std::string>{"wire1 wire2", "x", "wire3"}));
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(dialogs.busyStarts, 1);  // one hourglass for the whole replace-all
    EXPECT_FALSE(dialogs.busyNow);
    buffer.Undo();
    EXPECT_EQ(Text(), (std::vector<std::string>{"net1 net2", "x", "net3"}));
    EXPECT_FALSE(buffer.CanUndo());
    buffer.Redo();
    EXPECT_EQ(Text(), (std::vector<std::string>{"wire1 wire2", "x", "wire3"}));
}

TEST_F(SearchEngineTest, PatternReplaceAllWithEmptyMatchesEnds) {
    struct Case {
        const char* pattern;
        const char* with;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"^", "> ", {"> ab", ">", "> c"}},  // leaving a line drops its trailing blank
        {"$", ";", {"ab;", ";", "c;"}},
        {"^$", "-", {"ab", "-", "c"}},
        {"x*", "-", {"-a-b", "", "-c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        Load({"ab", "", "c"});
        options() = TSearchOptions{};
        options().RegularExpr = true;
        options().TextToFind = c.pattern;
        options().ReplaceWith = c.with;
        options().ReplaceAll = true;
        buffer.ReplaceFirst();
        EXPECT_EQ(Text(), c.expected);
    }
}

TEST_F(SearchEngineTest, BackwardReplaceAllLeavesTheCaretAtEachStart) {
    Load({"ab ab", "ab"});
    buffer.SetCaret(2, 1);
    options().TextToFind = "ab";
    options().ReplaceWith = "abab";
    options().ReplaceAll = true;
    options().Direction = sdBackward;
    options().Origin = soFromCursor;
    buffer.ReplaceFirst();
    EXPECT_EQ(Text(), (std::vector<std::string>{"abab abab", "abab"}));
    EXPECT_EQ(buffer.Caret(), (TPosition{0, 0}));
}

TEST_F(SearchEngineTest, ReplaceAllInASelectionReplacesOnlyInsideIt) {
    Load({"cat cat", "cat cat", "cat cat"});
    buffer.SetSelection(4, 0, 3, 2);
    buffer.SetSelectionKind(stStream);
    options().TextToFind = "cat";
    options().ReplaceWith = "dog";
    options().ReplaceAll = true;
    options().Scope = ssSelectedText;
    buffer.ReplaceFirst();
    EXPECT_EQ(Text(), (std::vector<std::string>{"cat dog", "dog dog", "dog cat"}));

    Load({"cat cat", "cat cat", "cat cat"});
    buffer.SetSelection(2, 0, 6, 1);
    buffer.SetSelectionKind(stColumn);
    options().ReplaceWith = "x";
    buffer.ReplaceFirst();
    EXPECT_EQ(Text(), (std::vector<std::string>{"cat x", "cat x", "cat cat"}));
}

// Every occurrence from the left, each search going on after the one before it, comparing
// capitals unless the case must match: what a replace all does, written out the slow way.
std::string ReplacedSlowly(const std::string& line, const std::string& find, const std::string& with,
                           bool caseSensitive, int& count, int32_t& lastEnd) {
    const auto upper = [](std::string t) {
        for (char& c : t)
            c = char(std::toupper(uint8_t(c)));
        return t;
    };
    const std::string haystack = caseSensitive ? line : upper(line);
    const std::string needle = caseSensitive ? find : upper(find);
    std::string out;
    size_t from = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, from)) {
        out += line.substr(from, at - from) + with;
        from = at + find.size();
        ++count;
        lastEnd = int32_t(out.size());
    }
    return out + line.substr(from);
}

// A replace all in a line of thousands of columns finds each later match of the line where the
// first search left it, in place of reading the line again after every replacement: the text,
// the count, the caret and undo must come out as the slow way says.
class LongLineReplaceTest : public SearchEngineTest {
protected:
    // Over all the text, or with selection over a stream selection from column selStart of the
    // first line to column selEnd of the last.
    void ExpectReplaceAllAsSlowly(const std::vector<std::string>& lines, const std::string& find,
                                  const std::string& with, bool caseSensitive, bool selection,
                                  int32_t selStart = 0, int32_t selEnd = 0) {
        buffer.SetLongLineChunkBytes(64);  // stored in chunks, whose edges the edits cross
        Load(lines);
        options() = TSearchOptions{};
        const int32_t last = int32_t(lines.size()) - 1;
        if (selection) {
            buffer.SetSelection(selStart, 0, selEnd, last);
            buffer.SetSelectionKind(stStream);
            options().Scope = ssSelectedText;
        }
        options().TextToFind = find;
        options().ReplaceWith = with;
        options().CaseSensitive = caseSensitive;
        options().ReplaceAll = true;
        const TPosition caretBefore = buffer.Caret();
        buffer.ReplaceFirst();

        int count = 0;
        TPosition caret = caretBefore;
        std::vector<std::string> expected;
        for (int32_t i = 0; i <= last; ++i) {
            const std::string& l = lines[size_t(i)];
            const size_t from = selection && i == 0 ? std::min(size_t(selStart), l.size()) : 0;
            const size_t to =
                selection && i == last ? std::max(from, std::min(size_t(selEnd), l.size())) : l.size();
            const int before = count;
            int32_t end = 0;
            const std::string part =
                ReplacedSlowly(l.substr(from, to - from), find, with, caseSensitive, count, end);
            if (count > before)
                caret = {i, int32_t(from) + end};
            expected.push_back(l.substr(0, from) + part + l.substr(to));
        }
        EXPECT_TRUE(Text() == expected);
        EXPECT_EQ(buffer.ReplaceCount(), count);
        if (count > 0)
            EXPECT_EQ(buffer.Caret(), caret);
        buffer.Undo();
        EXPECT_TRUE(Text() == lines);
        EXPECT_EQ(buffer.Caret(), caretBefore);
        buffer.Redo();
        EXPECT_TRUE(Text() == expected);
    }
};

TEST_F(LongLineReplaceTest, ReplacesAsInAShortLine) {
    struct Case {
        const char* name;
        std::string unit;  // repeated to a long line
        const char* find;
        const char* with;
        bool caseSensitive;
    };
    const Case cases[] = {
        {"Longer", "(portRef A (instanceRef i)) ", "portRef", "portRef_x", true},
        {"Shorter", "(portRef A (instanceRef i)) ", "instanceRef", "iR", true},
        {"Deleted", "net1,net2,", "net", "", true},
        {"ReplacementHoldsTheText", "aaa b", "a", "aa", true},
        {"CandidatesOverlap", "aaab", "aa", "c", true},
        {"AnyCase", "Net NET net ", "net", "wire", false},
    };
    for (const Case& c : cases) {
        std::string line;
        while (line.size() < 6000)
            line += c.unit;
        line += c.find;  // a match at the very end
        const std::vector<std::string> lines = {line, std::string(c.find) + " short", line};
        // All the text, then a stream selection from inside the first line to inside the last.
        for (const bool inSelection : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (inSelection ? " in a selection" : ""));
            ExpectReplaceAllAsSlowly(lines, c.find, c.with, c.caseSensitive, inSelection, 7,
                                     int32_t(line.size()) - 5);
            EXPECT_TRUE(dialogs.messages.empty());
        }
    }
}

// Random lines of a few letters, so that matches crowd, touch and straddle the chunk edges.
TEST_F(LongLineReplaceTest, RandomTextsReplaceAsSlowly) {
    std::mt19937 rng(20261211);
    const auto word = [&](const char* letters, size_t most) {
        std::string w(1 + rng() % most, ' ');
        for (char& ch : w)
            ch = letters[rng() % std::strlen(letters)];
        return w;
    };
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> lines(1 + rng() % 3);
        for (std::string& l : lines) {
            const size_t size = rng() % 2 ? 4096 + rng() % 3000 : rng() % 40;
            while (l.size() < size)
                l += word("abAB,", 4);
        }
        const std::string find = word("abAB", 3);
        const std::string with = rng() % 4 ? word("abx,", 4) : std::string();
        bool selection = rng() % 2;
        int32_t selStart = int32_t(rng() % 50);
        int32_t selEnd = std::max(0, int32_t(lines.back().size()) - int32_t(rng() % 50));
        if (lines.size() == 1 && selStart > selEnd)
            std::swap(selStart, selEnd);
        selection = selection && (lines.size() > 1 || selStart < selEnd);  // an empty one is refused
        SCOPED_TRACE("round " + std::to_string(round) + ": " + find + " to " + with);
        ExpectReplaceAllAsSlowly(lines, find, with, rng() % 2, selection, selStart, selEnd);
        if (HasFailure())
            return;
    }
}

// Lines keep their tab characters (tab stops 9, 17, 25, ...) while the search reads them
// expanded: a replacement removes exactly the matched columns and leaves the caret after the
// inserted text in columns, or at the match start for a backward search. Undo gives the tabs back.
TEST_F(SearchEngineTest, ReplaceAcrossStoredTabsRemovesExactlyTheMatch) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;  // stored
        const char* find;
        const char* with;
        std::vector<std::string> expected;  // stored
        TPosition caret;
        std::string flags;  // any of: regex backward all selection snap (soCursorAlwaysOnTabs)
    };
    const Case cases[] = {
        {"PatternOverATab", {"x\tyz more text"}, "x.*y", "Q", {"Qz more text"}, {0, 1}, "regex"},
        {"PlainEndingInsideATab", {"ab\tcd"}, "b ", "-", {"a-      cd"}, {0, 2}, ""},
        {"InsideOneTab", {"a\tb"}, "  ", "_", {"a_      b"}, {0, 2}, ""},
        {"BackwardInATab", {"a\tb c"}, " b", "X", {"a       X c"}, {0, 8}, "regex backward"},
        {"BackwardAll",
         {"ab\tcd", "ab\tcd"},
         "b ",
         "-",
         {"a-      cd", "a-      cd"},
         {0, 1},
         "backward all"},
        {"ReplacementHoldingATab", {"ab cd"}, " ", "\t", {"ab\tcd"}, {0, 9}, ""},
        {"AllInASelection",
         {"x\tyz more text", "x\ty\tz", "x\ty"},
         "x.*y",
         "Q",
         {"Qz more text", "Q\tz", "Q"},
         {2, 1},
         "regex all selection"},
        {"CaretNeverInsideATab", {"ab\tcd"}, "b ", "-", {"a-      cd"}, {0, 2}, "snap"},
        {"AllWithATabEnds", {"a b c"}, " ", "\t", {"a\tb\tc"}, {0, 17}, "all"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto has = [&](const char* flag) { return c.flags.find(flag) != std::string::npos; };
        const TStringsOptions tabs =
            TStringsOptions(kDefaultStringsOptions).Without(soSmartTab).With(soUseTabCharacter);
        buffer.SetOptions(has("snap") ? tabs.With(soCursorAlwaysOnTabs) : tabs);
        Load(c.lines);
        options() = TSearchOptions{};
        if (has("selection")) {
            buffer.SelectAll();
            options().Scope = ssSelectedText;
        }
        options().TextToFind = c.find;
        options().ReplaceWith = c.with;
        options().RegularExpr = has("regex");
        options().Direction = has("backward") ? sdBackward : sdForward;
        options().ReplaceAll = has("all");
        buffer.ReplaceFirst();
        EXPECT_EQ(testing_support::StoredLines(buffer), c.expected);
        EXPECT_EQ(buffer.Caret(), c.caret);
        EXPECT_TRUE(dialogs.messages.empty());
        buffer.Undo();
        EXPECT_EQ(testing_support::StoredLines(buffer), c.lines);
    }
}

TEST_F(SearchEngineTest, PromptNoThenSearchAgainAsksAboutTheNextThenAllReplacesTheRest) {
    Load({"x x x x"});
    options().TextToFind = "x";
    options().ReplaceWith = "yy";
    options().PromptOnReplace = true;
    dialogs.answers = {raNo};
    buffer.ReplaceFirst();
    EXPECT_EQ(Text(), std::vector<std::string>{"x x x x"});
    EXPECT_EQ(buffer.Caret(), (TPosition{0, 1}));
    EXPECT_EQ(dialogs.questions, std::vector<std::string>{"Replace this occurence of 'x'?"});

    dialogs.answers = {raAll};
    buffer.SearchAgain();
    EXPECT_EQ(Text(), std::vector<std::string>{"x yy yy yy"});
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_FALSE(options().PromptOnReplace);
    EXPECT_TRUE(options().ReplaceAll);
    EXPECT_EQ(buffer.ReplaceCount(), 3);
}

TEST_F(SearchEngineTest, PromptYesReplacesOneAndCancelStops) {
    Load({"x x"});
    options().TextToFind = "x";
    options().ReplaceWith = "z";
    options().PromptOnReplace = true;
    options().ReplaceAll = true;
    dialogs.answers = {raYes, raCancel};
    buffer.ReplaceFirst();
    EXPECT_EQ(Text(), std::vector<std::string>{"z x"});
    EXPECT_EQ(buffer.ReplaceCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SearchEngineTest, ReplaceDoesNothingOnAReadOnlyBuffer) {
    Load({"x"});
    buffer.SetReadOnly(true);
    options().TextToFind = "x";
    options().ReplaceWith = "z";
    options().ReplaceAll = true;
    buffer.ReplaceFirst();
    buffer.ReplaceDialog();
    EXPECT_EQ(Text(), std::vector<std::string>{"x"});
    EXPECT_EQ(dialogs.dialogsCreated, 0);
}

TEST_F(SearchEngineTest, FindDialogPreparesTextAndScopeThenSearches) {
    Load({"alpha beta", "beta"});
    buffer.SetCaret(7, 0);
    int created = 0;
    buffer.OnCreateDialog = [&](TCustomMemoSource&, TSearchOptionsDialog&) { ++created; };
    buffer.FindDialog();
    EXPECT_EQ(created, 1);
    EXPECT_EQ(options().TextToFind, "beta");
    EXPECT_EQ(options().Scope, ssGlobal);
    EXPECT_EQ(buffer.FoundRect(), (TFoundRect{0, 6, 10}));

    buffer.SetCaret(2, 0);
    buffer.SetSelection(0, 0, 5, 0);
    buffer.SetSelectionKind(stStream);
    dialogs.dialogResult = TModalResult::Cancel;
    buffer.FindDialog();
    EXPECT_EQ(options().TextToFind, "alpha");
    EXPECT_EQ(options().Scope, ssSelectedText);
    EXPECT_TRUE(options().FirstSearch == false);
}

TEST_F(SearchEngineTest, GotoLineDialog) {
    Load({"a", "b", "c"});
    buffer.SetCaret(1, 1);
    dialogs.inputAnswer = " 3 ";
    buffer.GotoLineDialog();
    ASSERT_EQ(dialogs.inputRequests.size(), 1u);
    EXPECT_EQ(dialogs.inputRequests[0].Caption, "Go to line Number");
    EXPECT_EQ(dialogs.inputRequests[0].Prompt, "&Enter new line number:");
    EXPECT_EQ(dialogs.inputRequests[0].Value, "2");
    EXPECT_EQ(buffer.Caret(), (TPosition{2, 0}));

    dialogs.inputAnswer = "99";
    buffer.GotoLineDialog();
    EXPECT_EQ(buffer.Caret(), (TPosition{2, 0}));  // limited like every caret move

    dialogs.inputAnswer = "x1";
    EXPECT_THROW(buffer.GotoLineDialog(), ESearchError);
}

}  // namespace
}  // namespace tarnwick
