#include "textengine/view/gutter_images.h"

#include <QPainter>

namespace tarnwick {

namespace {

constexpr int kGlyphSize = 14;

QPixmap BreakPointGlyph() {
    QPixmap pixmap = CrispPixmap({kGlyphSize, kGlyphSize});
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(128, 0, 0));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QRectF(1.5, 1.5, kGlyphSize - 3, kGlyphSize - 3));
    return pixmap;
}

// A small flag with the bookmark's digit.
QPixmap BookmarkGlyph(int digit) {
    QPixmap pixmap = CrispPixmap({kGlyphSize, kGlyphSize});
    QPainter p(&pixmap);
    p.setPen(QColor(0, 0, 96));
    p.setBrush(QColor(70, 110, 220));
    p.drawRect(1, 1, kGlyphSize - 3, kGlyphSize - 3);
    QFont font = p.font();
    font.setPixelSize(kGlyphSize - 4);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(1, 1, kGlyphSize - 2, kGlyphSize - 2), Qt::AlignCenter, QString::number(digit));
    return pixmap;
}

}  // namespace

// An amber triangle with an exclamation mark.
QPixmap TDCGutterImages::ProblemGlyph() {
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF triangle[] = {
        {kGlyphSize / 2.0, 1.0}, {kGlyphSize - 1.0, kGlyphSize - 1.5}, {1.0, kGlyphSize - 1.5}};
    p.setPen(QColor(120, 60, 0));
    p.setBrush(QColor(245, 170, 20));
    p.drawPolygon(triangle, 3);
    p.setPen(QPen(QColor(60, 30, 0), 1.6));
    p.drawLine(QPointF(kGlyphSize / 2.0, 5), QPointF(kGlyphSize / 2.0, 8.5));
    p.drawPoint(QPointF(kGlyphSize / 2.0, 10.5));
    return pixmap;
}

TDCGutterImages TDCGutterImages::Defaults() {
    TDCGutterImages images;
    images.Add("BreakPoint", BreakPointGlyph(), -1);
    for (int digit = 0; digit <= 9; ++digit)
        images.Add("Bookmark" + std::to_string(digit), BookmarkGlyph(digit), digit);
    return images;
}

TGutterImage& TDCGutterImages::Add(std::string name, QPixmap glyph, int32_t bookmarkIndex) {
    TGutterImage& image = items_.emplace_back();
    image.Name = std::move(name);
    image.Glyph = std::move(glyph);
    image.BookmarkIndex = bookmarkIndex;
    return image;
}

int32_t TDCGutterImages::IndexOf(const std::string& name) const {
    for (int32_t i = 0; i < Count(); ++i)
        if (items_[std::size_t(i)].Name == name)
            return i;
    return -1;
}

}  // namespace tarnwick
