// The decoration objects of an editor view: line separators, the current-line highlight and
// the special symbols. Plain data; the view reads them while painting.
#pragma once

#include <cstdint>
#include <string>

#include "textengine/font_desc.h"

namespace tarnwick {

struct TPenDesc {
    TColorValue Color = clWindowText;
    int32_t Width = 1;
    bool Visible = true;  // false: the pen draws nothing (a clear pen)
};

struct TBrushDesc {
    TColorValue Color = clWindow;
    bool Visible = false;  // false: nothing is filled
};

enum TLineSeparatorOption : uint8_t { moDrawLineSeparator = 1, moWrappedLineSeparator = 2 };

// A line under every text line and, with moWrappedLineSeparator, under each wrapped row.
struct TLineSeparator {
    uint8_t Options = 0;  // TLineSeparatorOption bits
    TPenDesc Pen{0xC0C0C0, 1, true};
};

enum TLineHighlightShape : uint8_t { shDoubleLine, shSingleLine };

// Marks the caret's line: a line above and below it (shDoubleLine) or one below it.
struct TLineHighlight {
    TPenDesc Pen{0xC0C0C0, 1, true};
    TBrushDesc Brush;
    bool Visible = false;
    TLineHighlightShape Shape = shDoubleLine;
};

// What moDrawSpecialSymbols draws; a SpaceChar or TabChar of 0 draws blanks.
struct TSpecialSymbols {
    std::string EOLString = "\xB6";
    std::string EOFString = "_";
    char SpaceChar = 0;
    char TabChar = 0;
};

}  // namespace tarnwick
