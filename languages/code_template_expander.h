#pragma once

#include <functional>
#include <string>
#include <vector>

#include "languages/code_templates.h"

namespace tarnwick {

class TCustomMemoSource;

// Picks one of the offered templates (the choice list on screen): its index, or -1.
using TTemplateChooser = std::function<int(const std::vector<const TMemoCodeTemplate*>& offered)>;
// May change a copy of the template's lines before they are inserted.
using TTemplateInsertHook = std::function<void(std::vector<std::string>& code)>;

// Expands the word before the caret: an exact template name is inserted at once, otherwise the
// chooser is offered the templates that fit. Does nothing when the buffer's TemplatesType is
// "None".
void ShowCodeTemplates(TCustomMemoSource& buffer, const TMemoCodeTemplates& templates,
                       const TTemplateChooser& choose, const TTemplateInsertHook& onInsert = {});

// Replaces the selection (the typed word) with the template's lines as one undoable change:
// lines after the first are indented to the caret column, and the caret goes to the first "|"
// (which is removed), or stays at the start of the inserted text when there is none.
void InsertCodeTemplate(TCustomMemoSource& buffer, const TMemoCodeTemplate& code,
                        const TTemplateInsertHook& onInsert = {});

}  // namespace tarnwick
