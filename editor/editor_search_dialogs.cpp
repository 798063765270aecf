#include "editor/editor_search_dialogs.h"

#include <QGuiApplication>

#include "editor/goto_line_dialog.h"
#include "editor/input_box.h"
#include "editor/replace_dialog.h"
#include "editor/search_dialog.h"
#include "host/message_dialog.h"
#include "languages/text_source.h"

namespace tarnwick {

namespace {

// The engine's messages arrive with their ampersands already doubled.
QString MessageText(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

}  // namespace

std::unique_ptr<TSearchOptionsDialog> TEditorSearchDialogs::CreateFindDialog(TCustomMemoSource&) {
    return std::make_unique<TSearchDialog>();
}

std::unique_ptr<TSearchOptionsDialog> TEditorSearchDialogs::CreateReplaceDialog(TCustomMemoSource& source) {
    if (source.ReadOnly())
        return nullptr;
    return std::make_unique<TReplaceDialog>();
}

bool TEditorSearchDialogs::InputBox(TInputBoxRequest& request) {
    TInputBox box(request);
    if (box.exec() != QDialog::Accepted)
        return false;
    request.Value = box.Value();
    return true;
}

// The message box's results are the host's numbers, not the engine's TModalResult.
TReplaceAnswer TEditorSearchDialogs::AskReplace(const std::string& question) {
    const int result = ShowMessageDialog(MessageText(question), QStringLiteral("Confirm"), mtConfirmation,
                                         Buttons({mbYes, mbNo, mbCancel, mbAll}));
    switch (result) {
        case mrYes:
            return raYes;
        case mrNo:
            return raNo;
        case mrAll:
            return raAll;
        default:
            return raCancel;
    }
}

void TEditorSearchDialogs::ShowInformation(const std::string& message) {
    ShowMessageDialog(MessageText(message), QStringLiteral("Information"), mtInformation, Buttons({mbOK}));
}

void TEditorSearchDialogs::SetBusy(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void InstallSearchDialogs(TTextSource& source) {
    // Holds no state, so every buffer can share it.
    static TEditorSearchDialogs dialogs;
    source.SetSearchDialogs(&dialogs);
    source.Dialogs.GotoLineDialog = [](TTextSource&, int64_t lineNumber) {
        return TSearchgotoLineNumber::Ask(lineNumber);
    };
}

}  // namespace tarnwick
