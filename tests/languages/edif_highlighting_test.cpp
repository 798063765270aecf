// The shipped EDIF scheme driven by the text buffer's on-demand highlighting.
#include <gtest/gtest.h>

#include <filesystem>

#include "memo_source.h"
#include "memory_stream.h"
#include "syntax_parser.h"

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
        text += "    (cell (rename c" + n + " \"cell%34%" + n + "\")\r\n"
                "      (comment \"made by (a) tool\")\r\n"
                "      (view netlist (viewType NETLIST)\r\n"
                "        (interface (port A (direction INPUT)))\r\n"
                "        (contents (net n" + n + " (joined (portRef A) (portRef Y (instanceRef i" + n + "))))\r\n"
                "          (property width (integer " + n + ")))))\r\n";
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
    EXPECT_EQ(comment[6], kParen);
    EXPECT_EQ(comment.substr(7), std::string(comment.size() - 7, kComment));
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

}  // namespace
}  // namespace tarnwick
