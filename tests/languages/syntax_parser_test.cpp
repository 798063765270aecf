#include <gtest/gtest.h>

#include <random>

#include "languages/syntax_parser.h"

namespace tarnwick {
namespace {

// Style numbers chosen so that each class reads as one letter in the expectations below.
constexpr int kText = 0;           // 'a'
constexpr int kComment = 2;        // 'c'
constexpr int kDirective = 3;      // 'd'
constexpr int kString = 5;         // 'f'
constexpr int kInt = 7;            // 'h'
constexpr int kFloat = 8;          // 'i'
constexpr int kHex = 9;            // 'j'
constexpr int kIdent = 10;         // 'k'
constexpr int kKeyword = 11;       // 'l'
constexpr int kSymbol = 13;        // 'n'
constexpr int kOtherKeyword = 14;  // 'o'
constexpr int kChildText = 20;     // 'u'

TSyntaxBlock RootBlock() {
    TSyntaxBlock b;
    b.Name = "Root";
    b.ID = 0;
    b.FIText = kText;
    b.FIIntNum = kInt;
    b.FIFloatNum = kFloat;
    b.FIHexNum = kHex;
    b.FIDirective = kDirective;
    b.FISymbol = kSymbol;
    b.FIIdentifier = kIdent;
    b.UseSymbols = b.UseNumbers = b.UseIdentifiers = true;
    return b;
}

// Parses lines one after the other and shows each line's styles as letters ('a' + style).
class ParserFixture : public testing::Test {
protected:
    TSyntaxBlock& Root() { return scheme_.SyntaxBlocks[0]; }

    void Load() {
        scheme_.SyntaxVersion = 3;
        parser_.SetSyntaxScheme(scheme_);
    }

    std::string Parse(const std::string& line) {
        std::string styles;
        parser_.InitStyles(0, line, styles);
        state_ = parser_.ParseLine(line, state_, styles);
        std::string letters;
        for (char s : styles)
            letters += static_cast<unsigned char>(s) == 255 ? '?' : static_cast<char>('a' + s);
        return letters;
    }

    int StateIndex() const { return static_cast<int>((state_ >> 8) & 255); }

    TSyntaxScheme scheme_;
    TSyntaxParser parser_;
    uint32_t state_ = 0;
};

class SyntaxParserTest : public ParserFixture {
protected:
    void SetUp() override { scheme_.SyntaxBlocks[0] = RootBlock(); }
};

TEST_F(SyntaxParserTest, MultiLineCommentCarriesToTheNextLineAndEndsMidLine) {
    Root().UseComments = Root().UseMultiLineComments = true;
    Root().MultiLineCommentDelimiters.push_back({{{kComment, true}, "(*"}, "*)"});
    Load();
    EXPECT_EQ(Parse("a (*"), "kacc");
    EXPECT_EQ(StateIndex(), 1);
    EXPECT_EQ(Parse("c *) d"), "ccccak");
    EXPECT_EQ(StateIndex(), 0);
    EXPECT_EQ(state_, 0u);
}

TEST_F(SyntaxParserTest, CommentClosedByAWordNeedsAFreeStandingWord) {
    Root().UseComments = Root().UseMultiLineComments = true;
    Root().MultiLineCommentDelimiters.push_back({{{kComment, true}, "(*"}, "end"});
    Load();
    Parse("(*");
    EXPECT_EQ(Parse("x endif end y"), "ccccccccccccc");
    EXPECT_EQ(StateIndex(), 1);
    EXPECT_EQ(Parse("x end y"), "cccccak");
    EXPECT_EQ(StateIndex(), 0);
}

TEST_F(SyntaxParserTest, SingleLineStringsAndTheEscapeCharacter) {
    Root().UseStrings = Root().UseSingleLineStrings = true;
    Root().SingleLineStringDelimiters.push_back({{{kString, true}, "\""}, "\""});
    struct Case {
        const char* name;
        bool meta;
        std::string line;
        std::string styles;
        int endStateIndex;
    };
    const Case cases[] = {
        {"Unclosed string ends with the line", false, "x \"ab", "kafff", 0},
        {"Closed string", false, "\"ab\" x", "ffffak", 0},
        {"Backslash at the end wraps the string", true, "\"ab\\", "ffff", 2},
        {"Escaped quote does not close", true, "\"a\\\"b\" x", "ffffffak", 0},
        {"Two backslashes do close", true, "\"a\\\\\"b", "fffffk", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Root().UseMetaSymbol = c.meta;
        Root().MetaSymbol = '\\';
        Root().UseMetaToWrapLines = true;
        Load();
        state_ = 0;
        EXPECT_EQ(Parse(c.line), c.styles);
        EXPECT_EQ(StateIndex(), c.endStateIndex);
    }
}

TEST_F(SyntaxParserTest, FullLineCommentsAndDirectivesOnlyAfterBlanks) {
    Root().UseComments = Root().UseFullLineComments = true;
    Root().FullLineCommentDelimiters.push_back({{kComment, true}, "*"});
    Root().UseLineDirectives = true;
    Root().LineDirectivePrefix = "#";
    Load();
    EXPECT_EQ(Parse("  * note"), "aacccccc");
    EXPECT_EQ(Parse("a * note"), "kanakkkk");
    EXPECT_EQ(Parse(" #if x"), "addddd");
    EXPECT_EQ(StateIndex(), 0);
    EXPECT_EQ(Parse("a #if"), "kankk");
}

TEST_F(SyntaxParserTest, NumbersWithPrefixesAndSuffixes) {
    struct Case {
        const char* name;
        std::string line;
        std::string styles;
    };
    Root().UsePrefixedNumbers = true;
    Root().NumPrefixes.push_back({{-1, true}, "$"});
    Root().UseSuffixedNumbers = true;
    Root().NumSuffixes.push_back({{-1, true}, "h"});
    Load();
    const Case cases[] = {
        {"Prefix and hex digits", "$1F", "jjj"},
        {"Prefix and decimal digits", "$10", "hhh"},
        {"Prefix alone is a symbol", "$ ", "na"},
        {"Float", "1.5e3", "iiiii"},
        {"Exponent without digits stays with the identifier", "2e+", "hkn"},
        {"Suffixed number", "12h", "hhh"},
        {"Digits inside identifiers", "a12", "kkk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Parse(c.line), c.styles);
    }
}

TEST_F(SyntaxParserTest, NumbersBetweenPrefixAndSuffixPairs) {
    Root().UsePrefixedSuffixedNumbers = true;
    Root().NumPrefixesSuffixes.push_back({{{-1, true}, "16#"}, "#"});
    Load();
    EXPECT_EQ(Parse("16#FF# x"), "jjjjjjak");
    EXPECT_EQ(Parse("16#GG#"), "hhnkkn");  // no hexadecimal digits: a plain number and the rest
}

TEST_F(SyntaxParserTest, KeywordsInBothCaseModesAndSetOrder) {
    Root().UseKeywords = true;
    Root().KeywordSets.push_back({{kKeyword, true}, "Main", "Begin, END"});
    Root().KeywordSets.push_back({{kOtherKeyword, true}, "Other", "end\tloop"});
    Load();
    EXPECT_EQ(Parse("begin BEGIN End loop"), "lllllalllllalllaoooo");
    Root().CaseSensitive = true;
    Load();
    EXPECT_EQ(Parse("begin Begin END end"), "kkkkkalllllalllaooo");
}

TEST_F(SyntaxParserTest, NestedBlockDelimitersBelongToParentOrChild) {
    for (bool partOfBlock : {false, true}) {
        SCOPED_TRACE(partOfBlock ? "part of block" : "outside");
        scheme_.SyntaxBlocks.resize(1);
        Root().UseIdentifiers = false;
        TSyntaxBlock child;
        child.ID = 1;
        child.ParentID = 0;
        child.FIText = kChildText;
        child.BlockDelimiters.push_back({"<%", "%>", partOfBlock, true});
        scheme_.SyntaxBlocks.push_back(child);
        Load();
        state_ = 0;
        EXPECT_EQ(Parse("x<%y%>z"), partOfBlock ? "auuuuua" : "annunna");
        EXPECT_EQ(state_ >> 24, 0u);
        EXPECT_EQ(Parse("a<%b"), partOfBlock ? "auuu" : "annu");
        EXPECT_NE(state_ >> 24, 0u) << "the line ends inside the child";
        EXPECT_EQ(Parse("c%>d"), partOfBlock ? "uuua" : "unna");
    }
}

TEST_F(SyntaxParserTest, EqualStacksShareOneState) {
    TSyntaxBlock child;
    child.ID = 1;
    child.ParentID = 0;
    child.FIText = kChildText;
    child.BlockDelimiters.push_back({"{", "}", false, true});
    scheme_.SyntaxBlocks.push_back(child);
    Load();
    Parse("a {");
    const uint32_t first = state_;
    state_ = 0;
    Parse("b } c {");
    EXPECT_EQ(state_, first);
}

TEST_F(SyntaxParserTest, TokensReachOnGetTokenWholeAcrossSteps) {
    Root().UseComments = Root().UseMultiLineComments = true;
    Root().MultiLineCommentDelimiters.push_back({{{kComment, true}, "{"}, "}"});
    Load();
    std::vector<std::pair<int, std::string>> tokens;
    parser_.OnGetToken = [&](TSyntaxParser&, int id, const std::string& text) {
        tokens.emplace_back(id, text);
    };
    Parse("x {a b} 12");
    using T = TSyntaxParser;
    EXPECT_EQ(tokens, (std::vector<std::pair<int, std::string>>{{T::tcIdentifier, "x"},
                                                                {T::tcText, " "},
                                                                {T::tcMultiLineComment, "{a b}"},
                                                                {T::tcText, " "},
                                                                {T::tcInteger, "12"}}));
}

TEST_F(SyntaxParserTest, EmptyLineKeepsTheState) {
    Load();
    std::string styles;
    EXPECT_EQ(parser_.ParseLine("", 0x01020304u, styles), 0x01020304u);
}

TEST_F(SyntaxParserTest, ResolvesStylesThroughTheBlockTree) {
    TAttrItem& text = scheme_.FontTable.Add();  // FontID 0: the root's text style
    text.UseDefFont = false;
    text.UseDefBack = false;
    text.Font.Name = "Mono";
    text.Font.Size = 14;
    text.BackColor = 0x00112233;
    TAttrItem& keyword = scheme_.FontTable.Add();  // FontID 1: borrows font name and background
    keyword.Font.Style = fsBold;
    keyword.Font.Color = 0x000000FF;
    Load();
    const TFontDesc font = parser_.GetStyleFont(1);
    EXPECT_EQ(font.Name, "Mono");
    EXPECT_EQ(font.Size, 14);
    EXPECT_EQ(font.Style, fsBold);
    EXPECT_EQ(font.Color, 0x000000FFu);
    TColorValue back = 0;
    EXPECT_TRUE(parser_.GetStyleBack(1, back));
    EXPECT_EQ(back, 0x00112233u);
    // No attribute: the substitute in the default font; 12 is the link style.
    EXPECT_EQ(parser_.GetStyleFont(200).Name, "Courier New");
    EXPECT_EQ(parser_.GetStyleFont(-1).Name, "Courier New");
    EXPECT_EQ(parser_.GetStyleFont(12).Style, fsUnderline);
}

TEST_F(SyntaxParserTest, SelfNestingBlockStopsSwitching) {
    // ID 0 and ParentID 0: a child of the root and of itself, reopened where it was opened.
    TSyntaxBlock loop;
    loop.ID = 0;
    loop.ParentID = 0;
    loop.FIText = kChildText;
    loop.BlockDelimiters.push_back({"(", ")", false, true});
    scheme_.SyntaxBlocks.push_back(loop);
    Load();
    EXPECT_EQ(Parse("((x"), "nuu");
}

TEST_F(SyntaxParserTest, AnyBytesAndAnyStateParseWithinTheLine) {
    Root().UseComments = Root().UseMultiLineComments = Root().UseSingleLineComments = true;
    Root().MultiLineCommentDelimiters.push_back({{{kComment, true}, "/*"}, "*/"});
    Root().SingleLineCommentDelimiters.push_back({{kComment, true}, "//"});
    Root().UseStrings = Root().UseSingleLineStrings = Root().UseMultiLineStrings = true;
    Root().SingleLineStringDelimiters.push_back({{{kString, true}, "'"}, "'"});
    Root().MultiLineStringDelimiters.push_back({{{kString, true}, "\"\"\""}, "\"\"\""});
    Root().UseMetaSymbol = true;
    Root().MetaSymbol = '\\';
    Root().UseKeywords = true;
    Root().KeywordSets.push_back({{kKeyword, true}, "", "if,else"});
    TSyntaxBlock child;
    child.ID = 1;
    child.ParentID = 0;
    child.BlockDelimiters.push_back({"{", "}", true, true});
    scheme_.SyntaxBlocks.push_back(child);
    Load();
    std::mt19937 random(6);
    for (int i = 0; i < 2000; ++i) {
        std::string line(random() % 60, '\0');
        for (char& c : line)
            c = static_cast<char>(random() % 4 == 0 ? "/*'\"{}\\ ie"[random() % 10] : random() % 256);
        std::string styles(line.size(), '\0');
        parser_.ParseLine(line, static_cast<uint32_t>(random()), styles);
        ASSERT_EQ(styles.size(), line.size());
    }
}

}  // namespace
}  // namespace tarnwick
