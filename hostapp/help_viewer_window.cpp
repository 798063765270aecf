#include "hostapp/help_viewer_window.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QToolTip>
#include <QVBoxLayout>

#include "host/abi/parameter_list.h"
#include "hostapp/host_client.h"

namespace harbinet {

THelpViewerWindow::THelpViewerWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Harbinet Help");
    setObjectName("HelpViewer");
    text_ = new QLabel(this);
    text_->setWordWrap(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    resize(420, 260);
}

QString THelpViewerWindow::TopicText(const QString& helpFile, int context) {
    QFile file(helpFile);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray prefix = QByteArray::number(context) + "=";
        while (!file.atEnd()) {
            const QByteArray line = file.readLine(4096).trimmed();
            if (line.startsWith(prefix))
                return QString::fromLatin1(line.mid(prefix.size()));
        }
    }
    return QString("No topic %1 in %2.").arg(context).arg(QFileInfo(helpFile).fileName());
}

void THelpViewerWindow::ShowTopic(const QString& helpFile, int context) {
    text_->setText(QString("%1\n\n(%2, context %3)")
                       .arg(TopicText(helpFile, context), QFileInfo(helpFile).fileName())
                       .arg(context));
    show();
    raise();
}

void THelpViewerWindow::ShowPopup(const QString& helpFile, int context) {
    QToolTip::showText(popupPosition_, TopicText(helpFile, context));
}

void THelpViewerWindow::ShowKeyword(const QString& keyword) {
    text_->setText(QString("Help on \"%1\"\n\nNo help index is installed for keywords.").arg(keyword));
    show();
    raise();
}

QString THelpViewerWindow::ShownText() const { return text_->text(); }

void THelpViewerWindow::RegisterProcesses(THostClient& client) {
    auto value = [](const char* params, const char* name) {
        return QString::fromLocal8Bit(LookupParameter(params, name).c_str());
    };
    client.AddHostProcess("Client:HelpShowTopic", [this, value](char* params, int32_t, IServerView*) {
        ShowTopic(value(params, "HelpFile"), value(params, "Context").toInt());
        return 1;
    });
    client.AddHostProcess("Client:HelpShowPopup", [this, value](char* params, int32_t, IServerView*) {
        ShowPopup(value(params, "HelpFile"), value(params, "Context").toInt());
        return 1;
    });
    client.AddHostProcess("Client:HelpSetPopupPosition", [this, value](char* params, int32_t, IServerView*) {
        SetPopupPosition(QPoint(value(params, "X").toInt(), value(params, "Y").toInt()));
        return 1;
    });
    client.AddHostProcess("Client:RunHelpTopic", [this, value](char* params, int32_t, IServerView*) {
        ShowKeyword(value(params, "Topic"));
        return 1;
    });
}

}  // namespace harbinet
