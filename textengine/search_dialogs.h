// What the search commands need from the user interface: the find and replace dialogs, the
// go-to-line input box, the replace prompt and the information box. The editor plugs its own
// dialogs and message boxes in; a buffer without them searches but shows nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tarnwick {

class TCustomMemoSource;

enum class TModalResult : uint8_t { None, Ok, Cancel, All };
enum TReplaceAnswer : uint8_t { raYes, raNo, raCancel, raAll };

// A modal find or replace dialog; it reads and writes the shared TSearchOptions itself.
class TSearchOptionsDialog {
public:
    virtual ~TSearchOptionsDialog() = default;
    virtual TModalResult ShowModal() = 0;
};

// The texts of an input box, and the value it shows and returns.
struct TInputBoxRequest {
    std::string Caption;
    std::string Prompt;
    std::string Value;
    const char* Buttons[3] = {"Ok", "Cancel", "&Help"};
};

class TSearchDialogFactory {
public:
    virtual ~TSearchDialogFactory() = default;
    virtual std::unique_ptr<TSearchOptionsDialog> CreateFindDialog(TCustomMemoSource& source) = 0;
    // None when the buffer may not be changed.
    virtual std::unique_ptr<TSearchOptionsDialog> CreateReplaceDialog(TCustomMemoSource& source) = 0;
    // Modal; false when cancelled, else request.Value holds the text entered.
    virtual bool InputBox(TInputBoxRequest& request) = 0;
    // Asked before a replacement, with the buttons Yes, No, Cancel and All.
    virtual TReplaceAnswer AskReplace(const std::string& question) = 0;
    // An information box with an OK button.
    virtual void ShowInformation(const std::string& message) = 0;
    // The hourglass while a search or a replace-all runs.
    virtual void SetBusy(bool busy) {}
};

}  // namespace tarnwick
