#pragma once
// The caret line of a text document, read and set through its command interface, for the
// host's own use: keeping it over a reload and across sessions.

#include <cstdint>

#include "host/abi/text_interfaces.h"

namespace harbinet {

// The caret's 0-based line; 0 when the document does not say.
int32_t CaretLineOf(ITextEditorCommands& commands);
// Moves the caret to a 0-based line, or to the last line when the text is shorter.
void MoveCaretToLine(ITextEditorCommands& commands, int32_t line);

}  // namespace harbinet
