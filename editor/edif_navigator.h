#pragma once
// Moving through a document's netlist by its structure: to the definition of the name at the
// caret, to its references (listed in the search panel's found list), from problem to problem,
// and back and forward through those jumps. It also keeps the outline panel showing the
// window's netlist index, which it brings up to date in the host's idle time.
//
// The window and the panels belong to the host's views and may go first; each step checks.
// The index names places by line and byte of the stored line; the caret counts expanded
// columns, so places are converted at the jump.

#include <QPointer>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "editor/jump_history.h"
#include "textengine/edif/edif_index.h"
#include "textengine/memo_types.h"

namespace tarnwick {

class TEdifOutline;
class TOutlinePanel;
class TTextPanel;
class TTextWindow;

class TEdifNavigator {
public:
    using TClock = std::chrono::steady_clock;

    TEdifNavigator(TTextWindow* window, TTextPanel* searchPanel, TOutlinePanel* outlinePanel);
    ~TEdifNavigator();
    TEdifNavigator(const TEdifNavigator&) = delete;
    TEdifNavigator& operator=(const TEdifNavigator&) = delete;

    // The name at the caret (or just before it) to its definition; nothing for a name that
    // resolves to nothing, or while the index is not current.
    void GotoDefinition();
    // Lists the line of the definition of the name at the caret and every line that refers to
    // it in the search panel's found list.
    void FindReferences();
    void NavigateBack();
    void NavigateForward();
    // The first problem after the caret, or the first of all past the last one; and the
    // other way.
    void NextProblem();
    void PreviousProblem();
    [[nodiscard]] bool CanNavigateBack() const noexcept { return history_.CanGoBack(); }
    [[nodiscard]] bool CanNavigateForward() const noexcept { return history_.CanGoForward(); }

    // Moves the caret to a place the index names (the line centred in the view), noting where
    // it was for Back. A jump chosen in the outline panel leaves the focus there, so the user
    // can go on through the list with the keys.
    enum class TFocus { View, Keep };
    void JumpTo(TPosition storedPlace, TFocus focus = TFocus::View);

    // Brings the index and the outline up to date until the deadline; true while work is left.
    bool RunIdleSlice(TClock::time_point deadline);

private:
    // The index when it answers for the text as it is, else nullptr.
    [[nodiscard]] const TEdifIndex* CurrentIndex() const;
    [[nodiscard]] std::optional<TEdifPoint> CaretPoint() const;
    // The definition the name at the caret means, trying the byte before the caret too, so a
    // caret just after a name finds it; -1 when none.
    [[nodiscard]] int32_t DefinitionAtCaret(const TEdifIndex& index) const;
    void MoveCaret(TPosition expanded, TFocus focus = TFocus::View);
    void GoToProblem(bool forward);
    // The outline's layout follows the index's definitions; the problem list its problems.
    void UpdateOutline(TClock::time_point deadline);
    void UpdateProblems();
    void ForgetNetlist();

    QPointer<TTextWindow> window_;
    QPointer<TTextPanel> searchPanel_;
    QPointer<TOutlinePanel> outlinePanel_;
    TJumpHistory history_;
    std::unique_ptr<TEdifOutline> outline_;
    // The count of text changes the outline and the problem list were last made for.
    std::optional<uint64_t> outlineChanges_;
    std::optional<uint64_t> problemChanges_;
    bool outlineShown_ = false;
    bool serving_ = false;  // the text was a netlist at the last idle slice
};

}  // namespace tarnwick
