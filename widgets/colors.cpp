#include "widgets/colors.h"

#include <QApplication>
#include <QPalette>

namespace tarnwick {

namespace {

constexpr uint32_t kSystemColorBit = 0x80000000u;

// The palette role standing in for each system colour index; indexes without a sensible role
// fall back to the window text colour.
QColor SystemColor(uint32_t index) {
    const QPalette palette = QApplication::palette();
    switch (index) {
        case 0:
            return palette.color(QPalette::Base);  // scroll bar
        case 1:
            return palette.color(QPalette::Dark);  // desktop
        case 2:
            return palette.color(QPalette::Highlight);  // active caption
        case 3:
            return palette.color(QPalette::Inactive, QPalette::Highlight);
        case 4:
            return palette.color(QPalette::Window);  // menu
        case 5:
            return palette.color(QPalette::Base);  // window background
        case 6:
            return palette.color(QPalette::Shadow);  // window frame
        case 7:
            return palette.color(QPalette::WindowText);  // menu text
        case 8:
            return palette.color(QPalette::Text);  // window text
        case 9:
            return palette.color(QPalette::HighlightedText);  // caption text
        case 10:
        case 11:
            return palette.color(QPalette::Mid);  // borders
        case 12:
            return palette.color(QPalette::Dark);  // app workspace
        case 13:
            return palette.color(QPalette::Highlight);
        case 14:
            return palette.color(QPalette::HighlightedText);
        case 15:
            return palette.color(QPalette::Button);  // button face
        case 16:
            return palette.color(QPalette::Mid);  // button shadow
        case 17:
            return palette.color(QPalette::Disabled, QPalette::Text);  // grey text
        case 18:
            return palette.color(QPalette::ButtonText);
        case 19:
            return palette.color(QPalette::Inactive, QPalette::WindowText);
        case 20:
            return palette.color(QPalette::Light);  // button highlight
        case 21:
            return palette.color(QPalette::Shadow);  // 3D dark shadow
        case 22:
            return palette.color(QPalette::Midlight);  // 3D light
        case 23:
            return palette.color(QPalette::ToolTipText);
        case 24:
            return palette.color(QPalette::ToolTipBase);
        default:
            return palette.color(QPalette::Text);
    }
}

}  // namespace

QColor ResolveColor(uint32_t value) {
    if (value & kSystemColorBit)
        return SystemColor(value & 0xFFu);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

}  // namespace tarnwick
