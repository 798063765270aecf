#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "languages/object_stream.h"
#include "languages/prepared_scheme.h"
#include "languages/syntax_parser.h"
#include "languages/syntax_scheme.h"

namespace tarnwick {
namespace {

// A scheme that sets a value of every kind the format has, including the conditional ones.
void FillRichScheme(TSyntaxScheme& scheme) {
    scheme.Name = "Rich";
    TSyntaxBlock& root = scheme.SyntaxBlocks[0];
    root.CaseSensitive = true;
    root.UseMetaSymbol = true;
    root.UseMetaToWrapLines = false;
    root.MetaSymbol = '\\';
    root.FIText = 0;
    root.UseComments = root.UseMultiLineComments = true;
    root.MultiLineCommentDelimiters.push_back({{{1, true}, "(*"}, "*)"});
    root.UseSuffixedNumbers = true;
    root.NumSuffixes.push_back({{-1, false}, "h"});
    root.UseKeywords = true;
    root.KeywordSets.push_back({{2, true}, "Main", "begin,end,\"with space\""});
    root.FirstIdentChars.Add('$');
    TSyntaxBlock child;
    child.Name = "Embedded";
    child.ID = 1;
    child.ParentID = 0;
    child.BlockDelimiters.push_back({"<%", "%>", true, true});
    child.LineDirectivePrefix = "ignored: directives are off";
    scheme.SyntaxBlocks.push_back(child);
    for (int i = 0; i < 3; ++i) {
        TAttrItem& attr = scheme.FontTable.Add();
        attr.Font.Style = fsBold | fsItalic;
        attr.Font.Pitch = fpFixed;
        attr.Font.Color = 0x00123456;
        attr.BackColor = 0x80000018;  // a system colour without a name
        attr.UseDefFont = i == 0;
    }
    scheme.FontTable[1].GlobalAttrID = "Comment";
    scheme.SyntaxVersion = 3;
}

TEST(SyntaxSchemeTest, TextRoundTripKeepsEveryStoredProperty) {
    TSyntaxScheme scheme;
    FillRichScheme(scheme);
    scheme.SyntaxBlocks[1].LineDirectivePrefix.clear();  // not written while directives are off
    const std::string text = scheme.WriteToText();
    TSyntaxScheme read;
    read.ReadFromText(text);
    EXPECT_TRUE(read.SameContentAs(scheme));
    EXPECT_EQ(read.WriteToText(), text);
    EXPECT_NE(text.find("FirstIdentChars = '$A-Z_a-z'"), std::string::npos);
    EXPECT_EQ(text.find("OtherIdentChars"), std::string::npos);
    EXPECT_NE(text.find("BackColor = -2147483624"), std::string::npos);
    EXPECT_NE(text.find("Font.Color = 1193046"), std::string::npos);
}

TEST(SyntaxSchemeTest, OldFileIsUpgraded) {
    TSyntaxScheme scheme;
    scheme.ReadFromText(
        "object TPersHolder\r\n"
        "  P.SyntaxBlocks = <\r\n"
        "    item\r\n      Name = 'Root'\r\n      FIText = 0\r\n    end\r\n"
        "    item\r\n      Name = 'Second'\r\n      ID = 0\r\n      FIText = 1\r\n"
        "      UseKeywords = True\r\n      KeywordSets = <\r\n        item\r\n"
        "          FontID = 2\r\n        end>\r\n    end\r\n"
        "    item\r\n      Name = 'Third'\r\n      ParentID = 1\r\n    end>\r\n"
        "  P.FontTable = <\r\n    item\r\n    end\r\n    item\r\n    end\r\n    item\r\n    end>\r\n"
        "end\r\n");
    EXPECT_EQ(scheme.SyntaxVersion, 1);
    scheme.Prepare();
    EXPECT_EQ(scheme.SyntaxVersion, 3);
    const auto& blocks = scheme.SyntaxBlocks;
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].ID, 1);  // lowest number no block uses: "Second" already has 0
    EXPECT_EQ(blocks[2].ID, 2);
    EXPECT_EQ(blocks[0].ParentID, -1);
    EXPECT_EQ(blocks[1].ParentID, 1);
    EXPECT_EQ(blocks[2].ParentID, 1);
    // Attributes without FontID lines took 0, 1, 2; each belongs to the block that uses it.
    EXPECT_EQ(scheme.FontTable[0].BlockID, 1);
    EXPECT_EQ(scheme.FontTable[1].BlockID, 0);
    EXPECT_EQ(scheme.FontTable[2].BlockID, 0);
}

TEST(SyntaxSchemeTest, EmptyBlockCollectionKeepsTheDefaultBlock) {
    TSyntaxScheme scheme;
    scheme.ReadFromText("object TPersHolder\r\n  P.SyntaxBlocks = <>\r\n  P.SyntaxVersion = 3\r\nend\r\n");
    ASSERT_EQ(scheme.SyntaxBlocks.size(), 1u);
    EXPECT_EQ(scheme.SyntaxBlocks[0].Name, "Default");
    EXPECT_EQ(scheme.SyntaxBlocks[0].ID, 0);
}

TEST(SyntaxSchemeTest, UnknownAndIllTypedPropertiesAreSkipped) {
    TSyntaxScheme scheme;
    scheme.ReadFromText(
        "object TPersHolder\r\n"
        "  P.Unknown = 5\r\n"
        "  P.Name = 7\r\n"
        "  P.SyntaxBlocks = <\r\n    item\r\n"
        "      Name = 'Kept'\r\n      FIText = 'text'\r\n      FISymbol = 300\r\n"
        "      CaseSensitive = Maybe\r\n      Colour = clRed\r\n      MetaSymbol = 'ab'\r\n"
        "      UseSymbols = True\r\n    end>\r\n"
        "  P.FontTable = <\r\n    item\r\n      FontID = 4\r\n      Font.Style = [fsBold, fsShadow]\r\n"
        "      Font.Color = clNoSuchColour\r\n      Font.Charset = 999\r\n    end>\r\n"
        "  P.SyntaxVersion = 3\r\nend\r\n");
    EXPECT_EQ(scheme.Name, "");
    const TSyntaxBlock& block = scheme.SyntaxBlocks.at(0);
    EXPECT_EQ(block.Name, "Kept");
    EXPECT_EQ(block.FIText, -1);
    EXPECT_EQ(block.FISymbol, -1);
    EXPECT_FALSE(block.CaseSensitive);
    EXPECT_EQ(block.MetaSymbol, '\0');
    EXPECT_TRUE(block.UseSymbols);
    const TAttrItem& attr = scheme.FontTable[0];
    EXPECT_EQ(attr.FontID, 4);
    EXPECT_EQ(attr.Font.Style, 0);
    EXPECT_EQ(attr.Font.Color, clWindowText);
    EXPECT_EQ(attr.Font.Charset, 1);
}

TEST(SyntaxSchemeTest, TidyDropsUnusedSwitchesAndStyles) {
    TSyntaxScheme scheme;
    TSyntaxBlock& b = scheme.SyntaxBlocks[0];
    b.UseComments = b.UseSingleLineComments = b.UseMultiLineComments = true;  // lists empty
    b.UseStrings = b.UseSingleLineStrings = true;
    b.SingleLineStringDelimiters.push_back({{{3, true}, "\""}, "\""});
    b.UseMetaSymbol = true;      // MetaSymbol is character 0
    b.UseLineDirectives = true;  // prefix empty
    b.FIText = 0;
    b.FISymbol = 1;                             // UseSymbols is off
    b.NumPrefixes.push_back({{5, true}, "$"});  // UsePrefixedNumbers is off
    for (int id : {0, 1, 3, 3, 5, 9}) {
        TAttrItem& attr = scheme.FontTable.Add();
        attr.FontID = id;
        attr.GlobalAttrID = "id" + std::to_string(id) + "#" + std::to_string(scheme.FontTable.Count());
    }
    scheme.Tidy();
    EXPECT_FALSE(b.UseComments);
    EXPECT_FALSE(b.UseSingleLineComments);
    EXPECT_TRUE(b.UseStrings);
    EXPECT_FALSE(b.UseMetaSymbol);
    EXPECT_FALSE(b.UseLineDirectives);
    EXPECT_EQ(b.FISymbol, -1);
    EXPECT_EQ(b.NumPrefixes[0].FontID, -1);
    ASSERT_EQ(scheme.FontTable.Count(), 2u);
    EXPECT_EQ(scheme.FontTable[0].GlobalAttrID, "id0#1");
    EXPECT_EQ(scheme.FontTable[1].GlobalAttrID, "id3#3");  // the first of the two with FontID 3
}

class SchemeFileTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tarnwick-scheme-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::filesystem::path dir_;
};

TEST_F(SchemeFileTest, SaveThenLoadGivesTheSameSchemePrepared) {
    TSyntaxScheme scheme;
    FillRichScheme(scheme);
    const std::string path = (dir_ / "rich.syn").string();
    scheme.SaveToFile(path);
    TSyntaxScheme loaded;
    loaded.LoadFromFile(path);
    scheme.SyntaxBlocks[1].LineDirectivePrefix.clear();
    EXPECT_TRUE(loaded.SameContentAs(scheme));
    EXPECT_EQ(loaded.Prepared().blocks.size(), 2u);
}

TEST_F(SchemeFileTest, BrokenFileFailsWithTheMessageAndKeepsTheScheme) {
    const std::string path = Write("broken.syn", "object TPersHolder\r\n  P.Name = 'x\r\n");
    TSyntaxScheme scheme;
    scheme.Name = "Before";
    try {
        scheme.LoadFromFile(path);
        FAIL() << "loaded";
    } catch (const TSchemeReadError& e) {
        EXPECT_EQ(std::string(e.what()), "Can't read syntax scheme from file \"" + path + "\".");
    }
    EXPECT_EQ(scheme.Name, "Before");
    EXPECT_THROW(scheme.LoadFromFile((dir_ / "missing.syn").string()), std::system_error);
}

TEST_F(SchemeFileTest, HostileButWellFormedFilesLoad) {
    std::string manyBlocks = "object TPersHolder\r\n  P.SyntaxBlocks = <";
    for (int i = 0; i < 300; ++i)
        manyBlocks +=
            "\r\n    item\r\n      ID = " + std::to_string(i) + "\r\n      ParentID = " + std::to_string(i) +
            "\r\n      BlockDelimiters = <\r\n        item\r\n" +
            "          LeftDelimiter = '('\r\n          RightDelimiter = ')'\r\n        end>\r\n    end";
    manyBlocks += ">\r\n  P.SyntaxVersion = 3\r\nend\r\n";
    TSyntaxScheme scheme;
    scheme.LoadFromFile(Write("many.syn", manyBlocks));
    EXPECT_EQ(scheme.SyntaxBlocks.size(), 300u);
    TSyntaxParser parser;  // every block is its own parent: switching must still stop
    parser.SetSyntaxScheme(scheme);
    const std::string line = "(((x)))" + std::string(100, '(');
    std::string styles(line.size(), '\0');
    parser.ParseLine(line, 0, styles);

    // Many blocks without IDs in a chain of parents, and many attributes without FontIDs: every
    // step of loading, upgrading, preparing and resolving styles has to stay linear.
    std::string wide = "object TPersHolder\r\n  P.SyntaxBlocks = <";
    for (int i = 0; i < 20000; ++i)
        wide += "\r\n    item\r\n      ParentID = " + std::to_string(i % 300) +
                "\r\n      FIText = " + std::to_string(i % 256) + "\r\n    end";
    wide += ">\r\n  P.FontTable = <";
    for (int i = 0; i < 20000; ++i)
        wide += "\r\n    item\r\n    end";
    wide += ">\r\nend\r\n";
    scheme.LoadFromFile(Write("wide.syn", wide));
    EXPECT_EQ(scheme.SyntaxBlocks[255].ID, 255);  // numbers ran out: 0 from then on
    EXPECT_EQ(scheme.SyntaxBlocks[256].ID, 0);
    EXPECT_EQ(scheme.FontTable[255].FontID, 255);
    EXPECT_EQ(scheme.FontTable[256].FontID, -1);
    parser.SetSyntaxScheme(scheme);
    parser.ParseLine(line, 0, styles);

    const std::string huge(1 << 20, 'k');
    const std::string hugeFile = "object TPersHolder\r\n  P.Name = '" + huge + "'\r\nend\r\n";
    scheme.LoadFromFile(Write("huge.syn", hugeFile));
    EXPECT_EQ(scheme.Name, huge);
}

// Keyword sets and association lists are stored as comma text and read back with the splitter.
TEST(CommaTextTest, JoinedItemsSplitBackUnchanged) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"begin", "end"},
        {"a,b", "with blank", "say \"hi\"", ""},
        {"tab\there", "\xE9t\xE9"},
    };
    for (const std::vector<std::string>& items : cases)
        EXPECT_EQ(SplitCommaText(JoinCommaText(items)), items) << JoinCommaText(items);
    EXPECT_EQ(JoinCommaText({"else", "if", "then"}), "else,if,then");
}

}  // namespace
}  // namespace tarnwick
