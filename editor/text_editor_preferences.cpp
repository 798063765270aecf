#include "editor/text_editor_preferences.h"

#include <cstdlib>
#include <span>
#include <string_view>
#include <variant>

#include "editor/preferences_file.h"

namespace tarnwick {

TTextEditorPreferences GlobalPreferences;

namespace {

using P = TTextEditorPreferences;
using tarnwick::TColorValue;
using tarnwick::TFontDesc;

constexpr std::string_view kSection = "Text Preferences";
constexpr std::string_view kOlderSection = "TextEditorPreferences";

// Font heights and point sizes convert at the screen resolution fonts are described for.
constexpr int32_t kScreenPixelsPerInch = 96;
constexpr int32_t kPointsPerInch = 72;

using TField = std::variant<bool P::*, int32_t P::*, TColorValue P::*, std::string P::*, double P::*>;

struct TStoredField {
    std::string_view Key;
    TField Field;
};

// Every stored field but the font, in the order the file is read and written.
const TStoredField kStoredFields[] = {
    {"InsertMode", &P::InsertMode},
    {"AutoIndentMode", &P::AutoIndentMode},
    {"SmartTab", &P::SmartTab},
    {"BackspaceUnindents", &P::BackspaceUnindents},
    {"ShowLineNumbers", &P::ShowLineNumbers},
    {"GroupUndo", &P::GroupUndo},
    {"CursorBeyondEOF", &P::CursorBeyondEOF},
    {"CursorBeyondEOL", &P::CursorBeyondEOL},
    {"PersistentBlocks", &P::PersistentBlocks},
    {"OverwriteBlocks", &P::OverwriteBlocks},
    {"DoubleClickLine", &P::DoubleClickLine},
    {"FindTextAtCursor", &P::FindTextAtCursor},
    {"UnseSyntaxHighlighting", &P::SyntaxHighlighting},  // the key is spelt so in every file
    {"OverwriteCursorAsBlock", &P::OverwriteCursorAsBlock},
    {"UseTabCharacter", &P::UseTabCharacter},
    {"CursorOnTabs", &P::CursorOnTabs},
    {"OptimalFill", &P::OptimalFill},
    {"DisableDragging", &P::DisableDragging},
    {"UseSpecialSymbols", &P::UseSpecialSymbols},
    {"WindowColor", &P::WindowColor},
    {"BlockIndent", &P::BlockIndent},
    {"TabStops", &P::TabStops},
    {"WordWrap", &P::WordWrap},
    {"WrapAtMargin", &P::WrapAtMargin},
    {"VisibleMargin", &P::VisibleMargin},
    {"MarginWidth", &P::MarginWidth},
    {"PrintHeader", &P::PrintHeader},
    {"PrintLineNumbers", &P::PrintLineNumbers},
    {"PrintSyntax", &P::PrintSyntax},
    {"PrintInColour", &P::PrintInColour},
    {"ShowPrintProgress", &P::ShowPrintProgress},
    {"WrapLinesForPrinting", &P::WrapLinesForPrinting},
    {"PrintIndent", &P::PrintIndent},
};

// What the older section held besides the font.
const TStoredField kOlderFields[] = {
    {"InsertMode", &P::InsertMode},
    {"AutoIndentMode", &P::AutoIndentMode},
    {"BackspaceUnindents", &P::BackspaceUnindents},
    {"OverwriteBlocks", &P::OverwriteBlocks},
    {"SyntaxHighlight", &P::SyntaxHighlighting},
    {"GroupUndo", &P::GroupUndo},
    {"WindowColor", &P::WindowColor},
};

struct TStyleKey {
    std::string_view Key;
    uint8_t Bit;
};
constexpr TStyleKey kStyleKeys[] = {
    {"FontBold", tarnwick::fsBold},
    {"FontItalic", tarnwick::fsItalic},
    {"FontUnderline", tarnwick::fsUnderline},
    {"FontStrikeOut", tarnwick::fsStrikeOut},
};

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang before 17).
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// number × numerator ÷ denominator rounded half away from zero; -1 when it leaves 32 bits.
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator) {
    const int64_t product = int64_t{number} * numerator;
    const int64_t magnitude = (std::llabs(product) + denominator / 2) / denominator;
    const int64_t result = product < 0 ? -magnitude : magnitude;
    return result < INT32_MIN || result > INT32_MAX ? -1 : static_cast<int32_t>(result);
}

void SetFontHeight(TFontDesc& font, int32_t height) {
    font.Height = height;
    font.Size = -MulDiv(height, kPointsPerInch, kScreenPixelsPerInch);
}

void SetFontSize(TFontDesc& font, int32_t points) {
    font.Size = points;
    font.Height = -MulDiv(points, kScreenPixelsPerInch, kPointsPerInch);
}

int32_t AsInteger(TColorValue color) { return static_cast<int32_t>(color); }

void ReadFields(const TPreferencesFile& file, std::string_view section, std::span<const TStoredField> fields,
                P& record) {
    for (const TStoredField& stored : fields) {
        const std::string_view key = stored.Key;
        std::visit(Overloaded{
                       [&](bool P::*f) { record.*f = file.ReadIniBoolean(section, key, record.*f); },
                       [&](int32_t P::*f) { record.*f = file.ReadIniInteger(section, key, record.*f); },
                       [&](TColorValue P::*f) {
                           record.*f = static_cast<TColorValue>(
                               file.ReadIniInteger(section, key, AsInteger(record.*f)));
                       },
                       [&](std::string P::*f) { record.*f = file.ReadIniString(section, key, record.*f); },
                       [&](double P::*f) { record.*f = file.ReadIniFloat(section, key, record.*f); },
                   },
                   stored.Field);
    }
}

// Size is read after Height and so decides the final height. With replaceStyle the style is
// built from the four keys alone; otherwise they only add to the current style.
void ReadFont(const TPreferencesFile& file, std::string_view section, bool replaceStyle, TFontDesc& font) {
    font.Color = static_cast<TColorValue>(file.ReadIniInteger(section, "FontColor", AsInteger(font.Color)));
    SetFontHeight(font, file.ReadIniInteger(section, "FontHeight", font.Height));
    font.Name = file.ReadIniString(section, "FontName", font.Name);
    font.Pitch = static_cast<tarnwick::TFontPitch>(file.ReadIniByte(section, "FontPitch", font.Pitch));
    SetFontSize(font, file.ReadIniInteger(section, "FontSize", font.Size));
    if (replaceStyle)
        font.Style = 0;
    for (const TStyleKey& style : kStyleKeys)
        if (file.ReadIniBoolean(section, style.Key, (font.Style & style.Bit) != 0))
            font.Style |= style.Bit;
}

void WriteFields(TPreferencesFile& file, const P& record) {
    for (const TStoredField& stored : kStoredFields) {
        const std::string_view key = stored.Key;
        std::visit(Overloaded{
                       [&](bool P::*f) { file.WriteIniBoolean(kSection, key, record.*f); },
                       [&](int32_t P::*f) { file.WriteIniInteger(kSection, key, record.*f); },
                       [&](TColorValue P::*f) { file.WriteIniInteger(kSection, key, AsInteger(record.*f)); },
                       [&](std::string P::*f) { file.WriteIniString(kSection, key, record.*f); },
                       [&](double P::*f) { file.WriteIniFloat(kSection, key, record.*f); },
                   },
                   stored.Field);
    }
}

void WriteFont(TPreferencesFile& file, const TFontDesc& font) {
    file.WriteIniInteger(kSection, "FontColor", AsInteger(font.Color));
    file.WriteIniInteger(kSection, "FontHeight", font.Height);
    file.WriteIniString(kSection, "FontName", font.Name);
    file.WriteIniByte(kSection, "FontPitch", font.Pitch);
    file.WriteIniInteger(kSection, "FontSize", font.Size);
    for (const TStyleKey& style : kStyleKeys)
        file.WriteIniBoolean(kSection, style.Key, (font.Style & style.Bit) != 0);
}

}  // namespace

TFileResult TTextEditorPreferences::Read() {
    const TPreferencesFile file;
    // The older section is only a fallback: once a write has made the new one, it is ignored.
    const bool current = file.SectionExists(kSection);
    const std::string_view section = current ? kSection : kOlderSection;
    const std::span<const TStoredField> fields =
        current ? std::span<const TStoredField>(kStoredFields) : std::span<const TStoredField>(kOlderFields);
    ReadFields(file, section, fields, *this);
    ReadFont(file, section, current, Font);
    return file.LoadResult();
}

TFileResult TTextEditorPreferences::Write() const {
    TPreferencesFile file;
    WriteFields(file, *this);
    WriteFont(file, Font);
    return file.Save();
}

}  // namespace tarnwick
