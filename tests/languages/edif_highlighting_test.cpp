// The shipped EDIF scheme driven by the text buffer's on-demand highlighting.
#include <gtest/gtest.h>

#include <filesystem>

#include "languages/syntax_parser.h"
#include "textengine/memo_source.h"
#include "textengine/memory_stream.h"

namespace tarnwick {
namespace {

const std::string kEdifScheme =
    (std::filesystem::path(TARNWICK_SOURCE_DIR) / "data/System/Languages/EDIF.syn").string();

// Style numbers of the shipped EDIF scheme.
constexpr char kText = 0, kKeyword = 1, kValue = 2, kString = 3, kNumber = 4, kParen = 5, kComment = 6;

// Passes everything to the highlighter and counts the lines it is asked to parse.
class TCountingParser final : public TSimpleParser {
public:
    explicit TCountingParser(TSyntaxParser& inner) : inner_(inner) {}
    TFontDesc GetStyleFont(int style) override { return inner_.GetStyleFont(style); }
    bool GetStyleBack(int style, TColorValue& colour) override { return inner_.GetStyleBack(style, colour); }
    uint32_t ParseLine(std::string_view text, uint32_t state, std::string& styles) override {
        ++calls;
        return inner_.ParseLine(text, state, styles);
    }
    int calls = 0;

private:
    TSyntaxParser& inner_;
};

std::string NetlistText(int cells) {
    std::string text = "(edif design\r\n  (edifVersion 2 0 0)\r\n  (library work\r\n";
    for (int i = 0; i < cells; ++i) {
        const std::string n = std::to_string(i);
        text += "    (cell (rename c" + n + " \"cell%34%" + n +
                "\")\r\n"
                "      (comment \"made by (a) tool\")\r\n"
                "      (view netlist (viewType NETLIST)\r\n"
                "        (interface (port A (direction INPUT)))\r\n"
                "        (contents (net n" +
                n + " (joined (portRef A) (portRef Y (instanceRef i" + n +
                "))))\r\n"
                "          (property width (integer " +
                n + ")))))\r\n";
    }
    return text + "  )\r\n)\r\n";
}

class EdifHighlightingTest : public testing::Test {
protected:
    void SetUp() override {
        TSyntaxScheme scheme;
        scheme.LoadFromFile(kEdifScheme);
        highlighter_.SetSyntaxScheme(scheme);
        TMemoryStream stream(NetlistText(4000));
        buffer_.LoadFromStream(stream);
        buffer_.SetSyntaxParser(&counter_);
    }

    TSyntaxParser highlighter_;
    TCountingParser counter_{highlighter_};
    TMemoSource buffer_;
};

TEST_F(EdifHighlightingTest, StylesTheFormsOfANetlist) {
    const std::string cell = buffer_.LineColors(3);  // "    (cell (rename c0 "cell%34%0")"
    EXPECT_EQ(std::string(cell.substr(4, 9)), std::string({kParen, kKeyword, kKeyword, kKeyword, kKeyword,
                                                           kText, kParen, kKeyword, kKeyword}));
    EXPECT_EQ(cell.substr(21, 11), std::string(11, kString));
    const std::string comment = buffer_.LineColors(4);  // "      (comment "made by (a) tool")"
    EXPECT_EQ(comment.substr(6, 8),
              std::string({kParen, kKeyword, kKeyword, kKeyword, kKeyword, kKeyword, kKeyword, kKeyword}));
    EXPECT_EQ(comment.substr(14, comment.size() - 15), std::string(comment.size() - 15, kComment));
    EXPECT_EQ(comment.back(), kParen);  // the parenthesis that ends the form
    EXPECT_EQ(buffer_.LineColors(6)[buffer_.LineText(6).find("INPUT")], kValue);
    EXPECT_EQ(buffer_.LineColors(8)[buffer_.LineText(8).find("0)")], kNumber);
}

TEST_F(EdifHighlightingTest, AnEditReparsesOnlyUntilTheEndStateMatches) {
    const int32_t last = buffer_.LineCount() - 1;
    buffer_.LineColors(last);
    EXPECT_EQ(counter_.calls, buffer_.LineCount());

    // Renaming a net in the middle leaves its line's end state as it was.
    const int32_t middle = 3 + 6 * 2000 + 4;
    buffer_.SetCaret(20, middle);
    buffer_.InsertString("x");
    counter_.calls = 0;
    buffer_.LineColors(middle);
    buffer_.LineColors(last);
    EXPECT_EQ(counter_.calls, 1);

    // Opening a comment form that the line does not close carries a new state to the next line,
    // which closes the form, so parsing stops there.
    buffer_.SetCaret(buffer_.LineLength(middle), middle);
    buffer_.InsertString("(comment \"open\" ");
    counter_.calls = 0;
    buffer_.LineColors(middle);
    buffer_.LineColors(last);
    EXPECT_EQ(counter_.calls, 2);
    EXPECT_EQ(buffer_.LineColors(middle + 1)[0], kComment);
    EXPECT_EQ(buffer_.LineColors(middle + 2)[0], kText);
}

// A comment block opens only at the keyword of a (comment ...) form, in any letter case; a name or
// a longer keyword that starts with the word opens nothing, and what follows keeps its styles.
TEST(EdifCommentFormTest, OpensOnlyAtTheKeywordOfACommentForm) {
    TSyntaxScheme scheme;
    scheme.LoadFromFile(kEdifScheme);
    TSyntaxParser parser;
    parser.SetSyntaxScheme(scheme);
    const auto stylesOf = [&](const std::string& line, uint32_t& state) {
        std::string styles(line.size(), '\0');
        state = parser.ParseLine(line, state, styles);
        return styles;
    };
    const struct {
        const char* name;
        std::string line;
        const char* commented;  // the text that must be in the comment style, or null for none
    } cases[] = {
        {"NameCOMMENT", "(figureGroup COMMENT (pathWidth 10))", nullptr},
        {"LowerCaseName", "(rename comment \"x\") (pathWidth 10)", nullptr},
        {"LongerKeyword", "(commentGraphics (annotate \"t\")) (pathWidth 10)", nullptr},
        {"Keyword", "(comment \"made (by) me\")", " \"made (by) me\""},
        {"KeywordInCapitals", "(COMMENT \"made by me\")", " \"made by me\""},
        {"KeywordInMixedCase", "(Comment\"x\")", "\"x\""},
        {"BlankBeforeKeyword", "( comment \"x\")", " \"x\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t state = 0;
        const std::string styles = stylesOf(c.line, state);
        EXPECT_EQ(state, 0u);  // every form is closed by the end of the line
        // One mark per column: 'c' in the comment style, '.' in any other.
        std::string marks, expected(c.line.size(), '.');
        for (char style : styles)
            marks += style == kComment ? 'c' : '.';
        if (c.commented) {
            const std::string commented = c.commented;
            expected.replace(c.line.find(commented), commented.size(), commented.size(), 'c');
        } else {
            EXPECT_EQ(styles[c.line.rfind("10")], kNumber) << "the following form keeps its styles";
        }
        EXPECT_EQ(marks, expected);
    }

    // A form opened at the end of a line goes on as a comment on the next one.
    uint32_t state = 0;
    stylesOf("  (COMMENT", state);
    EXPECT_NE(state, 0u);
    const std::string nextLine = "\"10 (a)\") (pathWidth 10)";
    const std::string next = stylesOf(nextLine, state);
    EXPECT_EQ(next.substr(0, 8), std::string(8, kComment));
    EXPECT_EQ(next[8], kParen);
    EXPECT_EQ(next[nextLine.rfind("10")], kNumber);
    EXPECT_EQ(state, 0u);
}

}  // namespace
}  // namespace tarnwick
