#pragma once
// Colour values travel as 32-bit numbers: 0x00BBGGRR for an RGB colour, or 0x80000000 plus a
// system colour index. This is the one place that turns them into Qt colours; system colours
// come from the application palette, so they follow the desktop theme.

#include <cstdint>

#include <QColor>

namespace tarnwick {

QColor ResolveColor(uint32_t value);

}  // namespace tarnwick
