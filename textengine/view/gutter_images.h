// The named images a view's gutter can show. Image n corresponds to bit n of a line's
// gutter-mark word, so a line shows up to 16 images at once, drawn in list order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QPixmap>

#include "widgets/crisp_pixmap.h"

namespace tarnwick {

struct TGutterImage {
    std::string Name;
    QPixmap Glyph;
    std::function<void(int32_t line)> OnClick;
    int32_t BookmarkIndex = -1;  // -1: not a bookmark image
    // The width the glyph covers in the gutter, in logical pixels.
    [[nodiscard]] int32_t Width() const { return LogicalSize(Glyph).width(); }
};

class TDCGutterImages {
public:
    // The mark of a line with problems, until an owner loads its own picture.
    static QPixmap ProblemGlyph();
    // "BreakPoint" and "Bookmark0" to "Bookmark9", with the view's built-in glyphs.
    static TDCGutterImages Defaults();

    TGutterImage& Add(std::string name, QPixmap glyph, int32_t bookmarkIndex = -1);
    [[nodiscard]] int32_t Count() const noexcept { return int32_t(items_.size()); }
    [[nodiscard]] const TGutterImage& operator[](int32_t i) const { return items_[std::size_t(i)]; }
    [[nodiscard]] TGutterImage& operator[](int32_t i) { return items_[std::size_t(i)]; }
    [[nodiscard]] int32_t IndexOf(const std::string& name) const;

private:
    std::vector<TGutterImage> items_;
};

}  // namespace tarnwick
