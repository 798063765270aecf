// Windows virtual key codes: the key numbers of host shortcuts and key mappings everywhere.
#pragma once

#include <cstdint>

namespace vk {
constexpr int32_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12,
                  Pause = 0x13, Capital = 0x14, Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22,
                  End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D,
                  Delete = 0x2E, F1 = 0x70, Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D,
                  Decimal = 0x6E, Divide = 0x6F, OemSemicolon = 0xBA, OemPlus = 0xBB, OemComma = 0xBC,
                  OemMinus = 0xBD, OemPeriod = 0xBE, OemSlash = 0xBF, OemTilde = 0xC0, OemOpenBracket = 0xDB,
                  OemBackslash = 0xDC, OemCloseBracket = 0xDD, OemQuote = 0xDE;
constexpr int32_t F(int n) { return F1 + n - 1; }
constexpr int32_t Letter(char c) { return c; }  // 'A'..'Z'
constexpr int32_t Digit(int d) { return '0' + d; }
}  // namespace vk
