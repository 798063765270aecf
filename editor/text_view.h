#pragma once
// The editor control of a text window: the engine's view with its own copy of the editor
// preferences, set from a preferences record, and key strokes offered to the host first.

#include <cstdint>

#include "editor/text_editor_preferences.h"
#include "textengine/print/print_options.h"
#include "textengine/view/dc_memo.h"

namespace tarnwick {

class TTextView : public TDCMemo {
public:
    // No key bindings of its own (its editing keys come from the host's shortcuts), the Tab
    // key as an editing key, and only the print progress shown.
    explicit TTextView(QWidget* parent = nullptr);

    // The view's copy of the preferences; the preferences dialog edits it.
    TTextEditorPreferences ViewPreferences;
    // Set while the host took the last key stroke as one of its shortcuts.
    bool HostKeyHandled = false;
    TDCPrintOptions PrintOptions{poShowProgress};
    int32_t PrintIndent = 0;  // pixels

    // Copies the record into ViewPreferences and sets the view's and its buffer's options,
    // font, colours, tabs, margin, key mapping and the process-wide insert mode from it, in
    // that order. Tab stops the buffer refuses leave the old stops in force.
    void ApplyPreferences(const TTextEditorPreferences& preferences);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tarnwick
