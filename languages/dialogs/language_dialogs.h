#pragma once
// Gives a text source the language dialog and the scheme editor, owned by the host window.

namespace tarnwick {

class TTextSource;

void InstallLanguageDialogs(TTextSource& source);

}  // namespace tarnwick
