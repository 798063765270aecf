#pragma once
// Named arguments as text: «Name=Value|Name=Value». The first "=" of a pair separates name
// from value; names are trimmed and matched ignoring ASCII case; values are kept as written
// and trimmed when read. There is no quoting: a value can hold "=" but never "|".

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The longest parameter string the system exchanges, terminator included. Longer text is cut.
constexpr std::size_t kParameterStringLimit = 64000;
// Names, and values as read, keep at most this many bytes.
constexpr std::size_t kShortStringLength = 255;

struct TParameter {
    std::string Name;                  // trimmed, at most 255 bytes
    std::optional<std::string> Value;  // as written; absent is written back as one blank
};

class TParameterList {
public:
    void ParseParameters(std::string_view text);
    // Writes the list as a parameter string into buffer, cut to capacity with its terminator.
    void FormatParameters(char* buffer, std::size_t capacity = kParameterStringLimit) const;
    [[nodiscard]] std::string FormatParameters() const;
    void AddParameter(std::string_view name, std::optional<std::string_view> value);
    [[nodiscard]] const TParameter* FindParameter(std::string_view name) const;
    [[nodiscard]] TParameter* FindParameter(std::string_view name);
    // The first match's value, cut to 255 bytes then trimmed; nullopt when no pair matches.
    [[nodiscard]] std::optional<std::string> GetParameterValue(std::string_view name) const;
    bool GetParameterValue(std::string_view name, std::string& value) const;
    void RemoveParameter(std::string_view name);
    void ClearParameters() { items_.clear(); }

    [[nodiscard]] std::size_t Count() const noexcept { return items_.size(); }
    [[nodiscard]] const TParameter& operator[](std::size_t i) const { return items_.at(i); }

private:
    std::vector<TParameter> items_;
};

// Trims bytes at or below 0x20 from both ends.
std::string_view TrimParameterText(std::string_view text) noexcept;
// ASCII letters compare equal in either case; every other byte only to itself.
bool SameParameterName(std::string_view a, std::string_view b) noexcept;

// Reads one value out of a parameter string. Re-parses only when text differs from the last
// string it was given, so reading several names from one string parses it once.
bool LookupParameter(const char* text, std::string_view name, std::string& value);
std::string LookupParameter(const char* text, std::string_view name);

// Replaces (or appends) one pair in buffer and writes the string back, cut to capacity.
void StoreParameter(char* buffer, std::string_view name, std::string_view value,
                    std::size_t capacity = kParameterStringLimit);
