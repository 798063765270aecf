#include "editor/text_editor_preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/editor/temp_config_folder.h"

namespace tarnwick {

namespace {

using namespace std::string_literals;

const std::string kDefaultsAsWritten =
    "[Text Preferences]\n"
    "InsertMode=True\nAutoIndentMode=True\nSmartTab=False\nBackspaceUnindents=True\n"
    "ShowLineNumbers=False\nGroupUndo=True\nCursorBeyondEOF=True\nCursorBeyondEOL=True\n"
    "PersistentBlocks=False\nOverwriteBlocks=True\nDoubleClickLine=False\nFindTextAtCursor=False\n"
    "UnseSyntaxHighlighting=True\nOverwriteCursorAsBlock=False\nUseTabCharacter=False\n"
    "CursorOnTabs=False\nOptimalFill=False\nDisableDragging=False\nUseSpecialSymbols=False\n"
    "WindowColor=15269887\nBlockIndent=1\nTabStops=4,7\nWordWrap=False\nWrapAtMargin=False\n"
    "VisibleMargin=False\nMarginWidth=80\nPrintHeader=True\nPrintLineNumbers=False\n"
    "PrintSyntax=True\nPrintInColour=False\nShowPrintProgress=True\nWrapLinesForPrinting=False\n"
    "PrintIndent=0.00\nFontColor=-2147483640\nFontHeight=-13\nFontName=Courier New\n"
    "FontPitch=0\nFontSize=10\nFontBold=False\nFontItalic=False\nFontUnderline=False\n"
    "FontStrikeOut=False\n";

// Every stored field away from its default.
TTextEditorPreferences EveryFieldChanged() {
    TTextEditorPreferences p;
    p.InsertMode = false;
    p.AutoIndentMode = false;
    p.SmartTab = true;
    p.BackspaceUnindents = false;
    p.ShowLineNumbers = true;
    p.GroupUndo = false;
    p.CursorBeyondEOF = false;
    p.CursorBeyondEOL = false;
    p.PersistentBlocks = true;
    p.OverwriteBlocks = false;
    p.DoubleClickLine = true;
    p.FindTextAtCursor = true;
    p.SyntaxHighlighting = false;
    p.OverwriteCursorAsBlock = true;
    p.UseTabCharacter = true;
    p.CursorOnTabs = true;
    p.OptimalFill = true;
    p.DisableDragging = true;
    p.UseSpecialSymbols = true;
    p.BlockIndent = -3;
    p.TabStops = "2,9,17";
    p.WindowColor = 0x80000005;
    p.Font.Color = 0x000000FF;
    p.Font.Height = -16;
    p.Font.Size = 12;
    p.Font.Name = "DejaVu Sans Mono";
    p.Font.Pitch = tarnwick::fpFixed;
    p.Font.Style = tarnwick::fsBold | tarnwick::fsStrikeOut;
    p.WordWrap = true;
    p.WrapAtMargin = true;
    p.VisibleMargin = true;
    p.MarginWidth = 0;
    p.PrintHeader = false;
    p.PrintLineNumbers = true;
    p.PrintSyntax = false;
    p.PrintInColour = true;
    p.ShowPrintProgress = false;
    p.WrapLinesForPrinting = true;
    p.PrintIndent = 0.5;
    return p;
}

class TextEditorPreferencesTest : public testing::Test {
protected:
    std::string FileText() const { return TTempConfigFolder::ReadFile(PreferencesFileName()); }
    void SetFileText(const std::string& text) const {
        TTempConfigFolder::WriteFile(PreferencesFileName(), text);
    }
    TTempConfigFolder config;
};

TEST_F(TextEditorPreferencesTest, WithoutAFileTheBuiltInDefaultsStay) {
    EXPECT_TRUE(GlobalPreferences.Read().IsOk());
    const TTextEditorPreferences& p = GlobalPreferences;
    EXPECT_EQ(p, TTextEditorPreferences{});
    EXPECT_EQ(p.Font.Name, "Courier New");
    EXPECT_EQ(p.Font.Size, 10);
    EXPECT_EQ(static_cast<int32_t>(p.Font.Color), -2147483640);
    EXPECT_EQ(p.WindowColor, 15269887u);
    EXPECT_TRUE(p.InsertMode && p.AutoIndentMode);
    EXPECT_FALSE(p.ShowLineNumbers || p.WordWrap);
    EXPECT_EQ(p.KeyMapping, "Default");
}

TEST_F(TextEditorPreferencesTest, WritesEveryKeyButTheKeyMappingInOrder) {
    ASSERT_TRUE(TTextEditorPreferences{}.Write().IsOk());
    EXPECT_EQ(FileText(), kDefaultsAsWritten);
}

TEST_F(TextEditorPreferencesTest, WriteThenReadGivesEveryFieldBack) {
    TTextEditorPreferences written = EveryFieldChanged();
    written.KeyMapping = "Brief";
    ASSERT_TRUE(written.Write().IsOk());
    EXPECT_NE(FileText().find("PrintIndent=0.50\n"), std::string::npos);

    ASSERT_TRUE(GlobalPreferences.Read().IsOk());
    EXPECT_EQ(GlobalPreferences, EveryFieldChanged());  // the key mapping is not stored
}

TEST_F(TextEditorPreferencesTest, TheOlderSectionIsReadOnlyUntilTheNewOneIsWritten) {
    const std::string older =
        "[TextEditorPreferences]\nSyntaxHighlight=False\nFontBold=True\nFontItalic=False\n"
        "InsertMode=False\nSmartTab=True\nWordWrap=True\n";
    SetFileText(older);
    GlobalPreferences.Font.Style = tarnwick::fsUnderline;  // the older keys add to the style
    GlobalPreferences.Read();
    EXPECT_FALSE(GlobalPreferences.SyntaxHighlighting);
    EXPECT_FALSE(GlobalPreferences.InsertMode);
    EXPECT_EQ(GlobalPreferences.Font.Style, tarnwick::fsUnderline | tarnwick::fsBold);
    EXPECT_FALSE(GlobalPreferences.SmartTab);  // not an older key
    EXPECT_FALSE(GlobalPreferences.WordWrap);

    GlobalPreferences.SyntaxHighlighting = true;  // changed in the dialog, then stored
    ASSERT_TRUE(GlobalPreferences.Write().IsOk());
    EXPECT_EQ(FileText().substr(0, older.size()), older);

    GlobalPreferences.Assign(TTextEditorPreferences{});
    GlobalPreferences.Read();
    EXPECT_TRUE(GlobalPreferences.SyntaxHighlighting);
    EXPECT_EQ(GlobalPreferences.Font.Style, tarnwick::fsUnderline | tarnwick::fsBold);
}

TEST_F(TextEditorPreferencesTest, EmptyValuesKeepNumbersAndFlagsButEmptyTheTexts) {
    SetFileText("[Text Preferences]\nBlockIndent=\nWordWrap=\nPrintIndent=\nTabStops=\nFontName=\n");
    GlobalPreferences.Read();
    EXPECT_EQ(GlobalPreferences.BlockIndent, 1);
    EXPECT_FALSE(GlobalPreferences.WordWrap);
    EXPECT_EQ(GlobalPreferences.PrintIndent, 0);
    EXPECT_EQ(GlobalPreferences.TabStops, "");
    EXPECT_EQ(GlobalPreferences.Font.Name, "");
}

TEST_F(TextEditorPreferencesTest, TheNewSectionReplacesTheWholeFontStyleAndSizeDecidesTheHeight) {
    GlobalPreferences.Font.Style = tarnwick::fsItalic;
    SetFileText("[Text Preferences]\nFontHeight=-40\nFontSize=12\nFontBold=untrue\nMarginWidth=72abc\n");
    GlobalPreferences.Read();
    EXPECT_EQ(GlobalPreferences.Font.Size, 12);
    EXPECT_EQ(GlobalPreferences.Font.Height, -16);
    EXPECT_EQ(GlobalPreferences.Font.Style, tarnwick::fsBold);
    EXPECT_EQ(GlobalPreferences.MarginWidth, 72);
}

TEST_F(TextEditorPreferencesTest, WritingKeepsTheRestOfASharedFile) {
    const std::string before =
        "; shared by the host's text editors\r\n"
        "[Other Editor]\r\nTheme=Dark\r\nInsertMode=keep me\r\n"
        "[text preferences]\r\nCustomKey=1\r\n  insertmode = True \r\n"
        "[Last]\r\nx=1";
    SetFileText(before);
    ASSERT_TRUE(EveryFieldChanged().Write().IsOk());
    const std::string after = FileText();

    EXPECT_EQ(
        after.substr(0, after.find("[text preferences]")),
        "; shared by the host's text editors\r\n[Other Editor]\r\nTheme=Dark\r\nInsertMode=keep me\r\n");
    EXPECT_NE(after.find("[text preferences]\r\nCustomKey=1\r\nInsertMode=False\r\nAutoIndentMode=False\r\n"),
              std::string::npos);
    EXPECT_EQ(after.substr(after.size() - 13), "\r\n[Last]\r\nx=1");
}

TEST_F(TextEditorPreferencesTest, AnyFileContentReadsAndIsKeptOnWriting) {
    const std::string junk = "\xff\xfe\0binary\r\rWordWrap=True\r"s + std::string(100000, '=') +
                             "\r[Text Preferences]\rWordWrap=untrue\rWordWrap=False\r" +
                             "FontName=" + std::string(400, 'F') + "\r";
    SetFileText(junk);
    EXPECT_TRUE(GlobalPreferences.Read().IsOk());
    EXPECT_TRUE(GlobalPreferences.WordWrap);  // the first of the duplicates
    EXPECT_EQ(GlobalPreferences.Font.Name, std::string(255, 'F'));

    ASSERT_TRUE(GlobalPreferences.Write().IsOk());
    const std::string after = FileText();
    const std::size_t section = junk.find("[Text Preferences]");
    EXPECT_EQ(after.substr(0, section), junk.substr(0, section));
    EXPECT_NE(after.find("\rWordWrap=False\r"), std::string::npos);  // the later duplicate stays
    EXPECT_EQ(after.find('\n'), std::string::npos);                  // CR-only stays CR-only
}

TEST_F(TextEditorPreferencesTest, AFileThatCannotBeWrittenIsReportedAndMemoryStaysUsable) {
    std::filesystem::remove_all(config.Folder() + "/Vesmar");
    GlobalPreferences.Assign(EveryFieldChanged());
    const TFileResult result = GlobalPreferences.Write();
    EXPECT_FALSE(result.IsOk());
    EXPECT_NE(result.Message().find("TextEditMarlowe.INI"), std::string::npos);
    EXPECT_TRUE(GlobalPreferences.Read().IsOk());  // nothing to read: memory is unchanged
    EXPECT_EQ(GlobalPreferences, EveryFieldChanged());
}

}  // namespace

}  // namespace tarnwick
