#pragma once
// Harbinet's text-editing commands: its shortcut keys and Edit menu, routed to the current
// document's ITextEditorCommands. With the editor's built-in preferences these keys are what
// moves the caret and edits; a printable character is typed by the editor itself.

#include <functional>

#include "host/abi/com_ptr.h"
#include "host/abi/text_interfaces.h"

class QMenu;
class QMenuBar;

namespace harbinet {

class THostUserInterface;

// The command interface of the document behind the current view, or empty.
using TCurrentCommands = std::function<TComPtr<ITextEditorCommands>()>;

// Fills the host's shortcut table with the editing keys.
void RegisterTextShortcuts(THostUserInterface& ui, const TCurrentCommands& current);
// Adds the Edit and Search menus; their items are enabled as the document's state queries say.
void AddTextMenus(QMenuBar* bar, const TCurrentCommands& current);
// Adds printing with the print dialog and printing at once to a menu.
void AddTextPrintMenu(QMenu* file, const TCurrentCommands& current);
// Adds the wrap modes (checked as the document's IsWrapMode says) and auto indent to a menu.
void AddTextViewMenu(QMenu* view, const TCurrentCommands& current);

}  // namespace harbinet
