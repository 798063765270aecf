#pragma once
// The dialogs and message box a text source opens. The editor fills them in; an operation whose
// dialog is not set does its file steps and shows nothing.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "textengine/font_desc.h"

namespace tarnwick {

class TLanguageManager;
class TSyntaxScheme;
class TTextSource;

struct TTextSourceDialogs {
    // The language dialog over the manager, with a copy of the document's language key; true
    // when it was closed with OK.
    std::function<bool(TTextSource& owner, TColorValue fontColor, TColorValue backColor,
                       TLanguageManager& manager, const std::string& languageKey)>
        LanguageDialog;
    // The scheme editor; true after OK, when it has changed the scheme in place.
    std::function<bool(TTextSource& owner, TColorValue fontColor, TColorValue backColor,
                       TSyntaxScheme& scheme)>
        SchemeEditor;
    // The go-to-line dialog showing lineNumber (1-based): the text entered on OK, nullopt after
    // Cancel.
    std::function<std::optional<std::string>(TTextSource& owner, int64_t lineNumber)> GotoLineDialog;
    // The host's error box.
    std::function<void(const std::string& message)> ShowErrorMessage;
};

}  // namespace tarnwick
