#include "host/message_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "host/dialog_placement.h"
#include "host/form_with_help.h"
#include "host/server_dialog.h"

namespace tarnwick {

namespace {

struct TButtonInfo {
    TMsgDlgBtn button;
    const char* name;
    const char* caption;
    int result;
};

constexpr TButtonInfo kButtons[] = {
    {mbYes, "Yes", "&Yes", mrYes},
    {mbNo, "No", "&No", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Cancel", "Cancel", mrCancel},
    {mbAbort, "Abort", "&Abort", mrAbort},
    {mbRetry, "Retry", "&Retry", mrRetry},
    {mbIgnore, "Ignore", "&Ignore", mrIgnore},
    {mbAll, "All", "All", mrAll},
    {mbNoToAll, "NoToAll", "NoToAll", mrNoToAll},
    {mbYesToAll, "YesToAll", "YesToAll", mrYesToAll},
    {mbHelp, "Help", "&Help", mrNone},
};

bool Has(TMsgDlgButtons set, TMsgDlgBtn b) { return (set >> b) & 1u; }

// A label shows text as a Windows static control does: "&&" is one ampersand, a single "&"
// marks the next letter and is not shown.
QString StaticControlText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        else if (text[i] == '&')
            continue;
        shown += text[i];
    }
    return shown;
}

QString DoubleAmpersands(QString text) { return text.replace("&", "&&"); }

QStyle::StandardPixmap IconFor(TMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return QStyle::SP_MessageBoxWarning;
        case mtError:
            return QStyle::SP_MessageBoxCritical;
        case mtInformation:
            return QStyle::SP_MessageBoxInformation;
        default:
            return QStyle::SP_MessageBoxQuestion;
    }
}

// Dialog units of a font: across, a quarter of the average letter width; down, an eighth of
// the height.
struct TDialogUnits {
    explicit TDialogUnits(const QFont& font) {
        const QFontMetrics m(font);
        const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        averageWidth = (m.horizontalAdvance(letters) / 26 + 1) / 2;
        height = m.height();
    }
    int X(int units) const { return units * averageWidth / 4; }
    int Y(int units) const { return units * height / 8; }
    int averageWidth;
    int height;
};

}  // namespace

std::unique_ptr<QDialog> CreateMessageDialog(const QString& text, const QString& caption, TMsgDlgType type,
                                             TMsgDlgButtons buttons, QWidget* owner, int helpContext) {
    auto dialog = std::make_unique<QDialog>(owner ? owner : HostOwnerWindow());
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    const QFont font = QApplication::font("QMessageBox");
    dialog->setFont(font);
    const TDialogUnits du(font);

    const int wrapWidth = ActiveMonitorRect().width() / 2;
    const QString shown = StaticControlText(text);
    const QRect textRect =
        QFontMetrics(font).boundingRect(QRect(0, 0, wrapWidth, 0), Qt::TextWordWrap | Qt::AlignLeft, shown);

    const bool hasIcon = type != mtCustom;
    const int iconSize = hasIcon ? 32 : 0;
    const int textLeft = du.X(8) + (hasIcon ? iconSize + du.X(10) : 0);
    const int iconTextWidth = textRect.width() + (hasIcon ? iconSize + du.X(10) : 0);
    const int iconTextHeight = std::max(iconSize, textRect.height());

    int buttonCount = 0;
    for (const TButtonInfo& b : kButtons)
        buttonCount += Has(buttons, b.button) ? 1 : 0;
    const int buttonWidth = du.X(50), buttonHeight = du.Y(14), buttonGap = du.X(4);
    const int groupWidth = buttonCount > 0 ? buttonCount * buttonWidth + (buttonCount - 1) * buttonGap : 0;
    const int clientWidth = std::max(iconTextWidth, groupWidth) + 2 * du.X(8);
    const int clientHeight = iconTextHeight + du.Y(10) + buttonHeight + 2 * du.Y(8);
    dialog->setFixedSize(clientWidth, clientHeight);

    if (hasIcon) {
        auto* icon = new QLabel(dialog.get());
        icon->setObjectName("Image");
        icon->setPixmap(dialog->style()->standardIcon(IconFor(type)).pixmap(iconSize, iconSize));
        icon->setGeometry(du.X(8), du.Y(8), iconSize, iconSize);
    }
    auto* message = new QLabel(shown, dialog.get());
    message->setObjectName("Message");
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setGeometry(textLeft, du.Y(8), textRect.width() + 1, textRect.height());

    const TMsgDlgBtn defaultButton = Has(buttons, mbOK) ? mbOK : Has(buttons, mbYes) ? mbYes : mbRetry;
    const TMsgDlgBtn cancelButton = Has(buttons, mbCancel) ? mbCancel : Has(buttons, mbNo) ? mbNo : mbOK;
    int cancelResult = mrCancel;
    int x = (clientWidth - groupWidth) / 2;
    const int y = iconTextHeight + du.Y(10) + du.Y(8);
    for (const TButtonInfo& b : kButtons) {
        if (!Has(buttons, b.button))
            continue;
        auto* button = new QPushButton(b.caption, dialog.get());
        button->setObjectName(b.name);
        button->setGeometry(x, y, buttonWidth, buttonHeight);
        x += buttonWidth + buttonGap;
        QDialog* d = dialog.get();
        if (b.button == mbHelp) {  // shows the dialog's help context instead of closing
            QObject::connect(button, &QPushButton::clicked, d,
                             [helpContext] { ShowHelpContext(PluginHelpFiles().main, helpContext); });
            continue;
        }
        QObject::connect(button, &QPushButton::clicked, d, [d, result = b.result] { d->done(result); });
        if (b.button == defaultButton)
            button->setDefault(true);
        if (b.button == cancelButton)
            cancelResult = b.result;
    }
    // Escape and the close button answer as the cancel button does.
    QObject::connect(dialog.get(), &QDialog::rejected, dialog.get(),
                     [d = dialog.get(), cancelResult] { d->setResult(cancelResult); });
    return dialog;
}

int ShowMessageDialog(const QString& text, const QString& caption, TMsgDlgType type, TMsgDlgButtons buttons,
                      int helpContext) {
    std::unique_ptr<QDialog> dialog = CreateMessageDialog(text, caption, type, buttons, nullptr, helpContext);
    CenterOnActiveMonitor(dialog.get());
    dialog->exec();
    return dialog->result();
}

void ShowErrorMessage(const QString& text) {
    ShowMessageDialog(DoubleAmpersands(text), "Harbinet Error", mtError, Buttons({mbOK}));
}

void ShowInformationMessage(const QString& text) {
    ShowMessageDialog(DoubleAmpersands(text), "Harbinet Information", mtInformation, Buttons({mbOK}));
}

bool ConfirmMessage(const QString& text) {
    return ShowMessageDialog(DoubleAmpersands(text), "Confirm", mtConfirmation, Buttons({mbYes, mbNo})) ==
           mrYes;
}

}  // namespace tarnwick
