// The editor control set from a preferences record, key by key, and the line ends a file is
// read with.

#include "editor/text_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "editor/line_end_form.h"
#include "tests/support/chunked_stream.h"

namespace tarnwick {
namespace {

using TPrefs = TTextEditorPreferences;

struct FlagCase {
    const char* name;
    bool TPrefs::*field;
    std::function<bool(TTextView&)> effect;  // the option the field sets
};

bool ViewHas(TTextView& v, TMemoOption o) { return v.Options().Has(o); }
bool BufferHas(TTextView& v, TStringsOption o) { return v.MemoSource().HasOption(o); }

class PreferenceFlagTest : public testing::TestWithParam<FlagCase> {};

TEST_P(PreferenceFlagTest, SetsAndClearsItsOption) {
    const FlagCase& c = GetParam();
    TTextView view;
    for (const bool on : {true, false, true}) {
        TPrefs prefs;
        prefs.*c.field = on;
        view.ApplyPreferences(prefs);
        EXPECT_EQ(c.effect(view), on) << (on ? "on" : "off");
        EXPECT_EQ(view.ViewPreferences, prefs);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, PreferenceFlagTest,
    testing::Values(
        FlagCase{"DoubleClickLine", &TPrefs::DoubleClickLine,
                 [](auto& v) { return ViewHas(v, moDblClickLine); }},
        FlagCase{"SyntaxHighlighting", &TPrefs::SyntaxHighlighting,
                 [](auto& v) { return ViewHas(v, moColorSyntax); }},
        FlagCase{"ShowLineNumbers", &TPrefs::ShowLineNumbers,
                 [](auto& v) { return ViewHas(v, moLineNumbers); }},
        FlagCase{"OverwriteCursorAsBlock", &TPrefs::OverwriteCursorAsBlock,
                 [](auto& v) { return ViewHas(v, moOverwriteCaret); }},
        FlagCase{"DisableDragging", &TPrefs::DisableDragging,
                 [](auto& v) { return ViewHas(v, moDisableDrag); }},
        FlagCase{"UseSpecialSymbols", &TPrefs::UseSpecialSymbols,
                 [](auto& v) { return ViewHas(v, moDrawSpecialSymbols); }},
        FlagCase{"WrapAtMargin", &TPrefs::WrapAtMargin,
                 [](auto& v) { return ViewHas(v, moBreakWordAtMargin); }},
        FlagCase{"VisibleMargin", &TPrefs::VisibleMargin, [](auto& v) { return ViewHas(v, moDrawMargin); }},
        FlagCase{"AutoIndentMode", &TPrefs::AutoIndentMode,
                 [](auto& v) { return BufferHas(v, soAutoIndent); }},
        FlagCase{"SmartTab", &TPrefs::SmartTab, [](auto& v) { return BufferHas(v, soSmartTab); }},
        FlagCase{"BackspaceUnindents", &TPrefs::BackspaceUnindents,
                 [](auto& v) { return BufferHas(v, soBackUnindents); }},
        FlagCase{"GroupUndo", &TPrefs::GroupUndo, [](auto& v) { return BufferHas(v, soGroupUndo); }},
        FlagCase{"CursorBeyondEOF", &TPrefs::CursorBeyondEOF,
                 [](auto& v) { return BufferHas(v, soBeyondFileEnd); }},
        FlagCase{"PersistentBlocks", &TPrefs::PersistentBlocks,
                 [](auto& v) { return BufferHas(v, soPersistentBlocks); }},
        FlagCase{"OverwriteBlocks", &TPrefs::OverwriteBlocks,
                 [](auto& v) { return BufferHas(v, soOverwriteBlocks); }},
        FlagCase{"FindTextAtCursor", &TPrefs::FindTextAtCursor,
                 [](auto& v) { return BufferHas(v, soFindTextAtCursor); }},
        FlagCase{"CursorBeyondEOLClearsLimitEOL", &TPrefs::CursorBeyondEOL,
                 [](auto& v) { return !BufferHas(v, soLimitEOL); }},
        FlagCase{"UseTabCharacter", &TPrefs::UseTabCharacter,
                 [](auto& v) { return BufferHas(v, soUseTabCharacter); }},
        FlagCase{"CursorOnTabs", &TPrefs::CursorOnTabs, [](auto& v) { return BufferHas(v, soCursorOnTabs); }},
        FlagCase{"OptimalFill", &TPrefs::OptimalFill, [](auto& v) { return BufferHas(v, soOptimalFill); }},
        FlagCase{"PrintHeader", &TPrefs::PrintHeader,
                 [](auto& v) { return v.PrintOptions.Has(poPrintHeader); }},
        FlagCase{"PrintLineNumbers", &TPrefs::PrintLineNumbers,
                 [](auto& v) { return v.PrintOptions.Has(poLineNumbers); }},
        FlagCase{"PrintSyntax", &TPrefs::PrintSyntax,
                 [](auto& v) { return v.PrintOptions.Has(poPrintSyntax); }},
        FlagCase{"PrintInColour", &TPrefs::PrintInColour,
                 [](auto& v) { return v.PrintOptions.Has(poInColor); }},
        FlagCase{"ShowPrintProgress", &TPrefs::ShowPrintProgress,
                 [](auto& v) { return v.PrintOptions.Has(poShowProgress); }},
        FlagCase{"WrapLinesForPrinting", &TPrefs::WrapLinesForPrinting,
                 [](auto& v) { return v.PrintOptions.Has(poWrapLines); }},
        FlagCase{"WordWrap", &TPrefs::WordWrap, [](auto& v) { return v.WordWrap(); }},
        FlagCase{"InsertMode", &TPrefs::InsertMode, [](auto&) { return TCustomMemoSource::InsertMode(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextViewTest, ValuesReachTheViewAndTheBuffer) {
    TTextView view;
    TPrefs prefs;
    prefs.Font.Name = "DejaVu Sans Mono";
    prefs.Font.Size = 12;
    prefs.Font.Style = fsBold;
    prefs.BlockIndent = 3;
    prefs.MarginWidth = 72;
    prefs.TabStops = "3,9";
    prefs.WindowColor = 0x00112233;
    prefs.PrintIndent = 0.5;
    view.ApplyPreferences(prefs);
    EXPECT_EQ(view.Font(), prefs.Font);
    EXPECT_EQ(view.MemoSource().BlockIndent(), 3);
    EXPECT_EQ(view.MarginPos(), 72);
    EXPECT_EQ(view.MemoSource().TabStops(), "3,9");
    EXPECT_EQ(view.Color, 0x00112233u);
    EXPECT_EQ(view.PrintIndent, std::lrint(0.5 * view.logicalDpiX()));

    prefs.TabStops = "9,3";  // not a tab rack: the old stops stay, the rest still applies
    prefs.MarginWidth = 60;
    view.ApplyPreferences(prefs);
    EXPECT_EQ(view.MemoSource().TabStops(), "3,9");
    EXPECT_EQ(view.MarginPos(), 60);
}

TEST(TextViewTest, LineNumbersGoOnTheGutterExactlyWhenItIsDrawn) {
    TTextView view;
    TPrefs prefs;
    view.ApplyPreferences(prefs);
    EXPECT_FALSE(view.Options().Has(moLineNumbersOnGutter));
    view.SetOptions(view.Options().With(moDrawGutter));
    view.ApplyPreferences(prefs);
    EXPECT_TRUE(view.Options().Has(moLineNumbersOnGutter));
}

TEST(TextViewTest, OnlyANamedMappingOtherThanDefaultGivesTheViewKeysOfItsOwn) {
    TTextView view;
    TPrefs prefs;
    view.ApplyPreferences(prefs);
    // The built-in preferences leave the editing keys to the host; folding, which the host has
    // no command for, keeps its keys in the view.
    TKeyList foldKeys;
    AddFoldingKeys(foldKeys);
    EXPECT_EQ(view.KeyList().Bindings().size(), foldKeys.Bindings().size());
    prefs.KeyMapping = "";  // what the preferences dialog stores unless a name is typed
    view.ApplyPreferences(prefs);
    EXPECT_GT(view.KeyList().Bindings().size(), foldKeys.Bindings().size());
    EXPECT_TRUE(view.WantTabs);
}

struct SniffCase {
    const char* name;
    std::string bytes;
    TLineEndForm form;
};

class LineEndSnifferTest : public testing::TestWithParam<SniffCase> {};

TEST_P(LineEndSnifferTest, NotesTheFirstLineEndAndTheLastByteInPiecesOfAnySize) {
    const SniffCase& c = GetParam();
    for (const int64_t piece : {1, 2, 3, 1 << 20}) {
        ChunkedStream source(c.bytes, piece);
        TLineEndSniffer sniffer(source);
        char buffer[4096];
        std::string passed;
        for (int64_t got; (got = sniffer.Read(buffer, sizeof buffer)) > 0;)
            passed.append(buffer, size_t(got));
        EXPECT_EQ(passed, c.bytes) << piece;
        EXPECT_EQ(sniffer.Form(), c.form) << "pieces of " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, LineEndSnifferTest,
                         testing::Values(SniffCase{"Empty", "", {ofUnix, false}},
                                         SniffCase{"NoLineEnd", "abc", {ofUnix, false}},
                                         SniffCase{"Lf", "a\nb\n", {ofUnix, true}},
                                         SniffCase{"CrLf", "ab\r\ncd", {ofWindows, false}},
                                         SniffCase{"CrLfAtTheVeryStart", "\r\n", {ofWindows, true}},
                                         SniffCase{"Cr", "a\rb\r", {ofMac, true}},
                                         SniffCase{"CrAtTheEnd", "abc\r", {ofMac, true}},
                                         SniffCase{"FirstLineEndDecides", "a\nb\r\n", {ofUnix, true}},
                                         SniffCase{"EndsWithoutAfterOthers", "a\r\nb", {ofWindows, false}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick
