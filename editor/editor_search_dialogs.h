#pragma once
// The editor's side of the text engine's search: its find, replace and go-to dialogs, the
// replace prompt and the information box, all modal and owned by the host window.

#include "textengine/search_dialogs.h"

namespace tarnwick {

class TTextSource;

class TEditorSearchDialogs : public TSearchDialogFactory {
public:
    std::unique_ptr<TSearchOptionsDialog> CreateFindDialog(TCustomMemoSource& source) override;
    // None for a read-only buffer.
    std::unique_ptr<TSearchOptionsDialog> CreateReplaceDialog(TCustomMemoSource& source) override;
    bool InputBox(TInputBoxRequest& request) override;
    // Yes, No, Cancel and All; closing the box in any other way cancels.
    TReplaceAnswer AskReplace(const std::string& question) override;
    void ShowInformation(const std::string& message) override;
    void SetBusy(bool busy) override;
};

// Gives the buffer the editor's find and replace dialogs, prompts and messages, and the go-to
// dialog of AskGotoLine. The window calls it once for its buffer.
void InstallSearchDialogs(TTextSource& source);

}  // namespace tarnwick
