#pragma once
// The plug-in's messages to the user, in the host's style: fixed captions, an icon, a wrapped
// message and a centred row of buttons laid out in dialog units of the message font.

#include <QString>
#include <cstdint>
#include <memory>

class QDialog;
class QWidget;

namespace tarnwick {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons in the order they appear.
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = uint32_t;  // bit (1 << TMsgDlgBtn)
constexpr TMsgDlgButtons Buttons(std::initializer_list<TMsgDlgBtn> set) {
    TMsgDlgButtons bits = 0;
    for (TMsgDlgBtn b : set)
        bits |= 1u << b;
    return bits;
}

// Modal results of the buttons.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
              mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// Builds the dialog without showing it (the text keeps Windows label rules: "&&" shows "&").
// The text wraps at half the width of the monitor that holds the active window. The Help button
// opens the main help file on helpContext and leaves the dialog open.
std::unique_ptr<QDialog> CreateMessageDialog(const QString& text, const QString& caption, TMsgDlgType type,
                                             TMsgDlgButtons buttons, QWidget* owner = nullptr,
                                             int helpContext = 0);
// Shows it modally on the active monitor and returns the modal result of the pressed button.
int ShowMessageDialog(const QString& text, const QString& caption, TMsgDlgType type, TMsgDlgButtons buttons,
                      int helpContext = 0);

void ShowErrorMessage(const QString& text);        // "Harbinet Error", OK
void ShowInformationMessage(const QString& text);  // "Harbinet Information", OK
bool ConfirmMessage(const QString& text);          // "Confirm", Yes/No; true only for Yes

}  // namespace tarnwick
