#pragma once
// The editor control of a text window: the engine's view with its own copy of the editor
// preferences, set from a preferences record, and key strokes offered to the host first.

#include <cstdint>
#include <vector>

#include "editor/text_editor_preferences.h"
#include "textengine/print/print_options.h"
#include "textengine/view/dc_memo.h"

namespace tarnwick {

// The line marks other servers set (a debugger's execution point and breakpoints, an error
// line). Each is a text style and a gutter image of the same name: a marked line shows the
// image in the gutter and, one mark at a time, the style's colours.
inline constexpr const char* kExecutionPointMark = "ExecutionPoint";
inline constexpr const char* kBreakPointMark = "BreakPoint";
inline constexpr const char* kDisabledBreakpointMark = "Disabled breakpoint";
inline constexpr const char* kErrorLineMark = "Error line";

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

    // ---- Line marks -------------------------------------------------------------------------
    // Lines outside the text take and lose no mark. Finding a mark's line reads every line's
    // marks once: these run on a request, never on a key stroke or a repaint.
    [[nodiscard]] bool HasMark(const char* name, int32_t line) const;
    void AddMark(const char* name, int32_t line);
    // Removes the image and sets the line to no style, whether or not the line had the mark.
    void RemoveMark(const char* name, int32_t line);
    // The first line with the mark, or -1.
    [[nodiscard]] int32_t FirstLineWithMark(const char* name) const;
    // Moves the execution mark there, puts the caret at the line's start and scrolls it into
    // view. An index outside the text still clears the old mark and moves the caret.
    void HighlightExecutionLine(int32_t line);
    // The line it leaves gets its breakpoint or error colours back.
    void ClearExecutionMark();
    void MarkErrorLine(int32_t line);
    void ClearErrorMark();
    void AddBreakpoint(int32_t line);
    // Removes both kinds of breakpoint; an execution or error mark on the line shows again.
    void RemoveBreakpoint(int32_t line);
    void ToggleBreakpoint(int32_t line);
    void RemoveAllBreakpoints();
    // The lines with a breakpoint, first to last.
    [[nodiscard]] std::vector<int32_t> BreakpointLines() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetupLineMarks();
    // The caret to the line's start (clamped to the text) and the line into view.
    void ShowLine(int32_t line);
    // Removes the first mark of that name; its line then shows its breakpoint, or else its
    // other mark through showOther.
    void ClearMarkShowingWhatRemains(const char* name, const char* other,
                                     void (TTextView::*showOther)(int32_t));
    [[nodiscard]] bool IsLine(int32_t line) const;
};

}  // namespace tarnwick
