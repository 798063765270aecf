#pragma once
// Harbinet's help viewer: shows the topic or popup that a plug-in asks for by help file and
// context number. Topics live in the help file as lines «context=text».

#include <QDialog>
#include <QPoint>

class QLabel;

namespace harbinet {

class THostClient;

class THelpViewerWindow final : public QDialog {
    Q_OBJECT
public:
    explicit THelpViewerWindow(QWidget* parent = nullptr);

    // Serves the host processes through which plug-ins reach the viewer.
    void RegisterProcesses(THostClient& client);

    void ShowTopic(const QString& helpFile, int context);
    void ShowPopup(const QString& helpFile, int context);
    void SetPopupPosition(QPoint position) { popupPosition_ = position; }
    void ShowKeyword(const QString& keyword);

    [[nodiscard]] QString ShownText() const;

    // The text of a topic, or a line that says it has none.
    static QString TopicText(const QString& helpFile, int context);

private:
    QLabel* text_ = nullptr;
    QPoint popupPosition_;
};

}  // namespace harbinet
