#pragma once
// The host's colour and file dialogs, asked for through "Client:RunCommonDialog". Each request
// answers what the user chose, or nothing after Cancel or when no host offers the dialog.

#include <optional>
#include <string>

#include "textengine/font_desc.h"

namespace tarnwick {

// The host's colour dialog starting from color (a system colour starts from the RGB it shows).
[[nodiscard]] std::optional<TColorValue> AskHostForColor(TColorValue color);

// The host's file dialog for a request such as "Dialog=FileOpenSave|Mode=0|Prompt=...": the
// "Path" of the reply when its "Result" is True (in any letter case), whole and trimmed.
[[nodiscard]] std::optional<std::string> AskHostForFile(const std::string& request);

}  // namespace tarnwick
