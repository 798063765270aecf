#include "textengine/print/page_metrics.h"

#include <algorithm>

namespace tarnwick {

namespace {

int32_t ScaleDown(int64_t printerPx, int32_t screenDpi, int32_t printerDpi) {
    return int32_t(printerPx * std::max(screenDpi, 1) / std::max(printerDpi, 1));
}

int32_t RoundDownTo(int32_t value, int32_t step) { return step > 0 ? value - value % step : value; }

}  // namespace

// Every row has the height L, so the rows that fit on a page are H / L and the pages are the
// rows divided by that, rounded up, whether the font is of fixed pitch or not.
int32_t TPageMetrics::PageCount(int32_t rows) const {
    if (rows <= 0)
        return 0;
    return int32_t((int64_t(rows) + linesPerPage - 1) / linesPerPage);
}

TPageMetrics ComputePageMetrics(const TPageMetricsInput& in) {
    TPageMetrics m;
    m.lineHeight = std::max(in.lineHeight, 1);
    const int32_t L = m.lineHeight;
    m.headerHeight = int32_t(int64_t(L) * in.printerDpiY / std::max(in.screenDpiY, 1));
    m.pageWidth = ScaleDown(in.printerPageWidth, in.screenDpiX, in.printerDpiX);
    m.pageHeight = ScaleDown(in.printerPageHeight, in.screenDpiY, in.printerDpiY);
    if (in.monoFont) {
        m.pageWidth = RoundDownTo(m.pageWidth, in.charWidth);
        m.pageHeight = RoundDownTo(m.pageHeight, L);
    }
    // The paper keeps a strip of L printer pixels above the text (a hair at printer resolution).
    m.target = {0, L, in.printerPageWidth, in.printerPageHeight};
    if (in.header) {
        m.pageHeight -= L;
        m.target.top += m.headerHeight;
    }
    m.pageWidth = std::max(m.pageWidth, 1);
    m.pageHeight = std::max(m.pageHeight, L);
    m.linesPerPage = std::max(m.pageHeight / L, 1);
    return m;
}

}  // namespace tarnwick
