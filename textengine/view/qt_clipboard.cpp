#include "textengine/view/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tarnwick {

bool TQtClipboard::HasText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

std::string TQtClipboard::Text() const {
    const QByteArray bytes = QGuiApplication::clipboard()->text().toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

bool TQtClipboard::IsColumnBlock() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasFormat(kColumnBlockMime);
}

void TQtClipboard::SetText(std::string_view text, bool columnBlock) {
    auto* data = new QMimeData;
    data->setText(QString::fromLatin1(text.data(), qsizetype(text.size())));
    if (columnBlock)
        data->setData(kColumnBlockMime, QByteArray("1"));
    QGuiApplication::clipboard()->setMimeData(data);
}

void TQtClipboard::Clear() { QGuiApplication::clipboard()->clear(); }

}  // namespace tarnwick
