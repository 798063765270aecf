#include "editor/panel_gradient.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tarnwick {

namespace {

constexpr int kBands = 256;
constexpr int kGreyTolerance = 4;
constexpr int kLeastGrey = 150;

int Saturated(int channel) { return std::clamp(channel, 0, 255); }

int Channel(int start, int end, int band) { return start + MulDiv(band, end - start, kBands - 1); }

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
    const int64_t product = int64_t(number) * numerator;
    int64_t quotient = product / denominator;
    const int64_t remainder = product % denominator;
    if (2 * std::llabs(remainder) >= std::llabs(int64_t(denominator)))
        quotient += (product < 0) != (denominator < 0) ? -1 : 1;
    return int(quotient);
}

QColor PanelGradientEnd(const QColor& shadow) {
    const int r = shadow.red(), g = shadow.green(), b = shadow.blue();
    if (std::abs(r - g) >= kGreyTolerance || std::abs(r - b) >= kGreyTolerance)
        return shadow;
    const int m = std::max((r + g + b) / 3, kLeastGrey);
    return QColor(Saturated(m + 4), m, Saturated(m - 7));
}

TGradientBand PanelGradientBand(int band, int height, const QColor& start, const QColor& end) {
    const QColor color(Channel(start.red(), end.red(), band), Channel(start.green(), end.green(), band),
                       Channel(start.blue(), end.blue(), band));
    return {MulDiv(band, height, kBands), MulDiv(band + 1, height, kBands), color};
}

}  // namespace tarnwick
