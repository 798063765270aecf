#include "languages/stream_names.h"

#include <array>
#include <utility>

#include "host/abi/ascii_text.h"

namespace tarnwick {

namespace {

struct TNamedValue {
    std::string_view name;
    std::uint32_t value;
};

constexpr std::uint32_t kSystem = 0x80000000u;

constexpr std::array<TNamedValue, 45> kColors{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", kSystem + 0},
    {"clBackground", kSystem + 1},
    {"clActiveCaption", kSystem + 2},
    {"clInactiveCaption", kSystem + 3},
    {"clMenu", kSystem + 4},
    {"clWindow", kSystem + 5},
    {"clWindowFrame", kSystem + 6},
    {"clMenuText", kSystem + 7},
    {"clWindowText", kSystem + 8},
    {"clCaptionText", kSystem + 9},
    {"clActiveBorder", kSystem + 10},
    {"clInactiveBorder", kSystem + 11},
    {"clAppWorkSpace", kSystem + 12},
    {"clHighlight", kSystem + 13},
    {"clHighlightText", kSystem + 14},
    {"clBtnFace", kSystem + 15},
    {"clBtnShadow", kSystem + 16},
    {"clGrayText", kSystem + 17},
    {"clBtnText", kSystem + 18},
    {"clInactiveCaptionText", kSystem + 19},
    {"clBtnHighlight", kSystem + 20},
    {"cl3DDkShadow", kSystem + 21},
    {"cl3DLight", kSystem + 22},
}};

constexpr std::array<TNamedValue, 19> kCharsets{{
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
}};

template <std::size_t N>
std::optional<std::string_view> NameOf(const std::array<TNamedValue, N>& table, std::uint32_t value) {
    for (const TNamedValue& entry : table)
        if (entry.value == value)
            return entry.name;
    return std::nullopt;
}

template <std::size_t N>
std::optional<std::uint32_t> ValueOf(const std::array<TNamedValue, N>& table, std::string_view name) {
    for (const TNamedValue& entry : table)
        if (ascii::EqualIgnoringCase(entry.name, name))
            return entry.value;
    return std::nullopt;
}

}  // namespace

std::optional<std::string_view> ColorName(std::uint32_t color) { return NameOf(kColors, color); }

std::optional<std::uint32_t> ColorFromName(std::string_view name) { return ValueOf(kColors, name); }

std::optional<std::string_view> CharsetName(int charset) {
    if (charset < 0 || charset > 255)
        return std::nullopt;
    return NameOf(kCharsets, static_cast<std::uint32_t>(charset));
}

std::optional<int> CharsetFromName(std::string_view name) {
    const auto value = ValueOf(kCharsets, name);
    if (!value)
        return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace tarnwick
