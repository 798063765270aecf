// How the pages of a printout are laid out: a page is painted at screen scale, W x H screen
// pixels, and stretched onto the printer page below the header.
#pragma once

#include <cstdint>

namespace tarnwick {

struct TPageMetricsInput {
    int32_t printerDpiX = 600, printerDpiY = 600;
    int32_t screenDpiX = 96, screenDpiY = 96;
    int32_t printerPageWidth = 0, printerPageHeight = 0;  // printer pixels
    int32_t lineHeight = 16;                              // L, screen pixels
    int32_t charWidth = 8;                                // screen pixels, for a fixed-pitch font
    bool monoFont = false;
    bool header = false;
};

// A rectangle on the printer page, in printer pixels.
struct TPrinterRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    [[nodiscard]] int32_t Width() const { return right - left; }
    [[nodiscard]] int32_t Height() const { return bottom - top; }
};

struct TPageMetrics {
    int32_t lineHeight = 16;   // L, screen pixels
    int32_t pageWidth = 0;     // W, screen pixels
    int32_t pageHeight = 0;    // H, screen pixels; a whole number of lines with a fixed-pitch font
    int32_t headerHeight = 0;  // printer pixels
    TPrinterRect target;       // where a page lands on the paper
    int32_t linesPerPage = 1;  // rows on one page, at least 1
    // Pages for a text of that many display rows (wrapped rows under word wrap).
    [[nodiscard]] int32_t PageCount(int32_t rows) const;
};

// Never divides by zero: a page too small for one line still holds one.
TPageMetrics ComputePageMetrics(const TPageMetricsInput& in);

}  // namespace tarnwick
