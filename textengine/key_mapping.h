// Key mappings: lists of key bindings with a small state machine, so that prefix keys
// (Ctrl+K, Ctrl+Q, Ctrl+O, Ctrl+X, Alt+J) and modal selection work. Keys are Windows virtual
// key codes; the view turns the chosen command into an edit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarnwick {

// Every command a binding can name. Movements double as arguments of SelectMove and
// ColumnMove, which extend a stream or column selection around that movement.
enum class TKeyCommand : uint8_t {
    None,
    // Movements
    ViewUp,
    ViewDown,
    ViewLeft,
    ViewRight,
    CaretUp,
    CaretDown,
    CaretLeft,
    CaretRight,
    WordLeft,
    WordRight,
    LineStart,
    LineEnd,
    ViewHome,
    ViewEnd,
    PageUp,
    PageDown,
    WindowTop,
    WindowBottom,
    TextStart,
    TextEnd,
    GotoBlockBegin,
    GotoBlockEnd,
    ScrollLineUp,
    ScrollLineDown,
    CenterLine,
    // Selection
    SelectMove,
    ColumnMove,
    StartStreamSelection,
    StartColumnSelection,
    ClearSelection,
    SelectAll,
    SelectLine,
    SelectWord,
    MarkBlockBegin,
    MarkBlockEnd,
    // Editing
    DeleteChar,
    BackSpace,
    NewLine,
    SplitLine,
    TabKey,
    BackTab,
    DeleteLine,
    DeleteWordLeft,
    DeleteWordRight,
    DeleteToLineStart,
    DeleteToLineEnd,
    DeleteToNextWord,
    DeleteSelection,
    CopyBlock,
    MoveBlock,
    IndentBlock,
    UnindentBlock,
    UpperCaseBlock,
    LowerCaseBlock,
    ToggleCaseBlock,
    LowerCaseWord,
    UpperCaseWord,
    CapitalizeWord,
    QuoteBlock,
    InsertGuid,
    CutToClipboard,
    CopyToClipboard,
    PasteFromClipboard,
    Undo,
    Redo,
    ToggleInsertMode,
    // Bookmarks (argument 1..10)
    ToggleBookmark,
    GotoBookmark,
    // Search and dialogs
    FindDialog,
    ReplaceDialog,
    SearchAgain,
    ReplaceAgain,
    ToggleCaseSensitive,
    ToggleRegularExpr,
    GotoLineDialog,
    // Other
    MatchBracket,
    MatchBracketForward,
    MatchBracketBackward,
    CloseHints,
    CodeTemplatePopup,
    // Folding
    Fold,
    Unfold,
    FoldAllCells,
    UnfoldAll,
};

// Shift-state bits of a binding.
constexpr uint8_t ksShift = 1, ksAlt = 2, ksCtrl = 4;
// A required state that matches every state.
constexpr uint8_t kAnyKeyState = 255;

struct TKeyAction {
    TKeyCommand command = TKeyCommand::None;   // None: a pure prefix key
    TKeyCommand movement = TKeyCommand::None;  // for SelectMove and ColumnMove
    int argument = 0;                          // bookmark number
};

struct TKeyData {
    uint8_t requiredState = 0;
    uint8_t nextState = 0;
    uint16_t keyCode = 0;
    uint8_t shiftState = 0;
    TKeyAction action;
};

// The outcome of one key stroke.
struct TKeyDispatch {
    bool handled = false;  // the key was consumed by a binding
    TKeyAction action;     // what to run (command None for a prefix key)
};

class TKeyList {
public:
    void Add(uint8_t requiredState, uint16_t key, uint8_t shift, TKeyAction action, uint8_t nextState = 0);
    void Clear();
    [[nodiscard]] bool Empty() const noexcept { return bindings_.empty(); }
    [[nodiscard]] const std::vector<TKeyData>& Bindings() const noexcept { return bindings_; }

    // Looks the stroke up in the current state and moves the state machine on. Enter without
    // wantReturns, and Tab without wantTabs, count only with Ctrl and then as the bare key.
    TKeyDispatch Dispatch(uint16_t key, uint8_t shift, bool wantReturns, bool wantTabs);
    [[nodiscard]] uint8_t State() const noexcept { return state_; }
    void SetState(uint8_t state) noexcept { state_ = state; }

private:
    bool Matches(const TKeyData& d, uint16_t key, uint8_t shift) const noexcept;

    std::vector<TKeyData> bindings_;
    uint8_t state_ = 0;
    std::size_t cached_ = SIZE_MAX;  // the binding found last, tried first next time
};

// The registered mappings, by display name, in registration order.
const std::vector<std::string>& KeyMappingNames();
// Clears list and fills it with the named mapping; a name that is not registered gives
// "Default". Does not reset the state.
void InitializeKeyMapping(const std::string& name, TKeyList& list);
// The folding keys every mapping ends with (Ctrl+Shift+[ and ], with Alt for all cells).
void AddFoldingKeys(TKeyList& list);

}  // namespace tarnwick
