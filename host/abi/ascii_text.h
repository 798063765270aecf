#pragma once
// Text helpers for names, keys and keywords, and the case of the letters users type.
// ascii: only the letters A-Z and a-z have another case; every other byte, 128 to 255 included,
// stays itself whatever the locale, so names compare the same on every machine.
// latin1: text as the user reads it (changing the case of a block, plain search ignoring case)
// also folds the accented letters of the Latin-1 code page.
// Everything here is inline: the highlighter and the search call it once per byte.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace ascii {

constexpr char ToUpper(char c) noexcept { return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c; }
constexpr char ToLower(char c) noexcept { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; }
constexpr uint8_t ToUpper(uint8_t c) noexcept { return uint8_t(ToUpper(char(c))); }
constexpr uint8_t ToLower(uint8_t c) noexcept { return uint8_t(ToLower(char(c))); }
constexpr bool IsLetter(char c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

inline std::string Upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = ToUpper(c);
    return result;
}

inline std::string Lower(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = ToLower(c);
    return result;
}

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) noexcept {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return ToUpper(x) == ToUpper(y); });
}

// Orders names ignoring ASCII case, for maps keyed by name.
struct LessIgnoringCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return ToLower(x) < ToLower(y); });
    }
};

// Bytes 0 to 32: blanks and control characters.
constexpr bool IsBlankOrControl(char c) noexcept { return static_cast<unsigned char>(c) <= 0x20; }
constexpr bool IsSpaceOrTab(char c) noexcept { return c == ' ' || c == '\t'; }
constexpr bool IsSpace(char c) noexcept { return c == ' '; }

// text without the leading and trailing bytes for which isBlank holds.
template <class Predicate>
constexpr std::string_view Trim(std::string_view text, Predicate isBlank) noexcept {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}
constexpr std::string_view Trim(std::string_view text) noexcept { return Trim(text, IsBlankOrControl); }

}  // namespace ascii

namespace latin1 {

// The small letters a-z and 0xE0-0xFE and the capitals A-Z and 0xC0-0xDE, 32 apart; the
// multiplication and division signs (0xD7, 0xF7) are not letters, and 0xDF and 0xFF have no
// capital in the code page.
constexpr bool IsSmall(uint8_t u) noexcept {
    return (u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7);
}
constexpr bool IsCapital(uint8_t u) noexcept {
    return (u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7);
}
constexpr char ToUpper(char c) noexcept { return IsSmall(uint8_t(c)) ? char(uint8_t(c) - 32) : c; }
constexpr char ToLower(char c) noexcept { return IsCapital(uint8_t(c)) ? char(uint8_t(c) + 32) : c; }

}  // namespace latin1
