#pragma once
// The search panel's background: 256 horizontal bands running from the button face at the top
// to the button shadow at the bottom, with a grey shadow replaced by a warm shade of itself.

#include <QColor>

namespace tarnwick {

// number * numerator / denominator rounded to the nearest integer, halves away from zero.
int MulDiv(int number, int numerator, int denominator);

// The bottom colour for a shadow colour: a grey one (red within 3 of green and of blue) becomes
// RGB(m + 4, m, m - 7), m its channels' average raised to at least 150, each channel saturated
// at 255; any other shadow is kept.
QColor PanelGradientEnd(const QColor& shadow);

struct TGradientBand {
    int Top;     // pixels below the top of the panel
    int Bottom;  // exclusive
    QColor Color;
};

// Band 0..255 of a panel height pixels high.
TGradientBand PanelGradientBand(int band, int height, const QColor& start, const QColor& end);

}  // namespace tarnwick
