// Colour values as they travel (0x00BBGGRR, or 0x80000000 plus a system colour index) turned
// into toolkit colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "widgets/colors.h"

namespace tarnwick {

namespace {

TEST(ColorsTest, ResolvesRgbAndSystemColours) {
    EXPECT_EQ(ResolveColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ResolveColor(0xFF8000), QColor(0, 128, 255));
    EXPECT_EQ(ResolveColor(0x80000005), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(ResolveColor(0x80000008), QApplication::palette().color(QPalette::Text));
    EXPECT_TRUE(ResolveColor(0x800000FF).isValid());  // an unknown system index
}

}  // namespace

}  // namespace tarnwick
