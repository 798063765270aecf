// Colour values and font descriptions as plain data; the view resolves them to its toolkit.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// 0x00BBGGRR for an RGB colour, or 0x80000000 plus a system colour index.
using TColorValue = uint32_t;
inline constexpr TColorValue clSystemColor = 0x80000000;
inline constexpr TColorValue clWindow = 0x80000005;
inline constexpr TColorValue clWindowText = 0x80000008;

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

// Bits of TFontDesc::Style.
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFontDesc {
    uint8_t Charset = 1;  // DEFAULT_CHARSET
    TColorValue Color = clWindowText;
    int32_t Height = -13;
    std::string Name = "Courier New";
    TFontPitch Pitch = fpDefault;
    int32_t Size = 10;
    uint8_t Style = 0;  // TFontStyle bits

    friend bool operator==(const TFontDesc&, const TFontDesc&) = default;
};

}  // namespace tarnwick
