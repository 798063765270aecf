#pragma once
// Files dropped anywhere on a window open as documents.

#include <QObject>
#include <QStringList>
#include <functional>

class QMimeData;
class QWidget;

namespace harbinet {

// The local files a drag carries, in its order; empty when it carries none (text, web links).
QStringList LocalFilesOf(const QMimeData& data);

class TFileDropTarget final : public QObject {
public:
    using TOpen = std::function<void(const QStringList& files)>;
    // Lives as long as the window; `open` receives the files of each drop.
    TFileDropTarget(QWidget& window, TOpen open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TOpen open_;
};

}  // namespace harbinet
