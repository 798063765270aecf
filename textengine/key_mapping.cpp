#include "textengine/key_mapping.h"

#include "host/abi/virtual_key_codes.h"

namespace tarnwick {

namespace {

using C = TKeyCommand;

constexpr uint8_t kNone = 0, kShift = ksShift, kAlt = ksAlt, kCtrl = ksCtrl;
constexpr uint8_t kCtrlShift = ksCtrl | ksShift, kShiftAlt = ksShift | ksAlt, kCtrlAlt = ksCtrl | ksAlt,
                  kCtrlShiftAlt = ksCtrl | ksShift | ksAlt;

// Prefix states.
constexpr uint8_t kBlockState = 1;       // Ctrl+K
constexpr uint8_t kQuickState = 2;       // Ctrl+Q
constexpr uint8_t kJumpState = 3;        // Alt+J
constexpr uint8_t kExtendedState = 4;    // Ctrl+X
constexpr uint8_t kOptionState = 5;      // Ctrl+O
constexpr uint8_t kStreamMarkState = 6;  // Brief's stream selection mode
constexpr uint8_t kColumnMarkState = 7;  // Brief's column selection mode
constexpr uint8_t kHomeState = 8;        // Brief's second Home or End

TKeyAction Do(C command) { return {command}; }
TKeyAction Select(C movement) { return {C::SelectMove, movement}; }
TKeyAction Column(C movement) { return {C::ColumnMove, movement}; }
TKeyAction Bookmark(C command, int n) { return {command, C::None, n}; }
const TKeyAction kPrefix{};

// The bookmark a digit key names: 0 stands for 10.
int BookmarkOfDigit(int digit) { return digit == 0 ? 10 : digit; }

// Binds key with shift in state 0 and, where the key works in every state, in any state.
struct TBuilder {
    TKeyList& list;
    void Key(uint16_t key, uint8_t shift, TKeyAction action, uint8_t next = 0) {
        list.Add(0, key, shift, action, next);
    }
    void AnyState(uint16_t key, uint8_t shift, TKeyAction action) {
        list.Add(kAnyKeyState, key, shift, action, 0);
    }
    void InState(uint8_t state, uint16_t key, uint8_t shift, TKeyAction action, uint8_t next = 0) {
        list.Add(state, key, shift, action, next);
    }
};

void GroupA(TBuilder b) {  // basic keys
    b.AnyState(vk::Up, kNone, Do(C::ViewUp));
    b.AnyState(vk::Down, kNone, Do(C::ViewDown));
    b.AnyState(vk::Left, kNone, Do(C::ViewLeft));
    b.AnyState(vk::Right, kNone, Do(C::ViewRight));
    b.AnyState(vk::Prior, kNone, Do(C::PageUp));
    b.AnyState(vk::Next, kNone, Do(C::PageDown));
    b.Key(vk::Delete, kNone, Do(C::DeleteChar));
    b.Key(vk::Back, kNone, Do(C::BackSpace));
    b.Key(vk::Back, kShift, Do(C::BackSpace));
    b.Key(vk::Return, kNone, Do(C::NewLine));
    b.Key(vk::Return, kShift, Do(C::NewLine));
    b.Key(vk::Escape, kNone, Do(C::CloseHints));
    b.Key(vk::Tab, kNone, Do(C::TabKey));
    b.Key(vk::Tab, kShift, Do(C::BackTab));
    b.Key(vk::Left, kCtrl, Do(C::WordLeft));
    b.Key(vk::Right, kCtrl, Do(C::WordRight));
    b.Key('J', kCtrl, Do(C::CodeTemplatePopup));
}

void GroupB(TBuilder b) {  // Ctrl+K block commands
    b.Key('K', kCtrl, kPrefix, kBlockState);
    b.InState(kBlockState, 'B', kNone, Do(C::MarkBlockBegin));  // without Ctrl only
    const std::pair<char, C> letters[] = {
        {'K', C::MarkBlockEnd},    {'C', C::CopyBlock},     {'V', C::MoveBlock},
        {'Y', C::DeleteSelection}, {'L', C::SelectLine},    {'T', C::SelectWord},
        {'I', C::IndentBlock},     {'U', C::UnindentBlock}, {'N', C::UpperCaseBlock},
        {'O', C::LowerCaseBlock},  {'E', C::LowerCaseWord}, {'F', C::UpperCaseWord}};
    for (const auto& [letter, command] : letters) {
        b.InState(kBlockState, letter, kNone, Do(command));
        b.InState(kBlockState, letter, kCtrl, Do(command));
    }
}

void GroupC(TBuilder b) {  // selecting keys
    b.Key(vk::Up, kShift, Select(C::ViewUp));
    b.Key(vk::Down, kShift, Select(C::ViewDown));
    b.Key(vk::Left, kShift, Select(C::ViewLeft));
    b.Key(vk::Right, kShift, Select(C::CaretRight));
    b.Key(vk::Home, kShift, Select(C::ViewHome));
    b.Key(vk::End, kShift, Select(C::ViewEnd));
    b.Key(vk::Prior, kShift, Select(C::PageUp));
    b.Key(vk::Next, kShift, Select(C::PageDown));
    b.Key(vk::Prior, kCtrlShift, Select(C::WindowTop));
    b.Key(vk::Next, kCtrlShift, Select(C::WindowBottom));
    b.Key(vk::Home, kCtrlShift, Select(C::TextStart));
    b.Key(vk::End, kCtrlShift, Select(C::TextEnd));
    b.Key(vk::Left, kCtrlShift, Select(C::WordLeft));
    b.Key(vk::Right, kCtrlShift, Select(C::WordRight));
    b.Key(vk::Up, kShiftAlt, Column(C::CaretUp));
    b.Key(vk::Down, kShiftAlt, Column(C::CaretDown));
    b.Key(vk::Left, kShiftAlt, Column(C::CaretLeft));
    b.Key(vk::Right, kShiftAlt, Column(C::CaretRight));
    b.Key(vk::Home, kShiftAlt, Column(C::LineStart));
    b.Key(vk::End, kShiftAlt, Column(C::LineEnd));
    b.Key(vk::Prior, kShiftAlt, Column(C::PageUp));
    b.Key(vk::Next, kShiftAlt, Column(C::PageDown));
    b.Key(vk::Home, kCtrlShiftAlt, Column(C::WindowTop));
    b.Key(vk::End, kCtrlShiftAlt, Column(C::WindowBottom));
    b.Key(vk::Prior, kCtrlShiftAlt, Column(C::TextStart));
    b.Key(vk::Next, kCtrlShiftAlt, Column(C::TextEnd));
    b.Key(vk::Left, kCtrlShiftAlt, Column(C::WordLeft));
    b.Key(vk::Right, kCtrlShiftAlt, Column(C::WordRight));
}

void GroupD(TBuilder b) {  // Ctrl+Q movement
    b.Key('Q', kCtrl, kPrefix, kQuickState);
    const std::pair<char, C> moves[] = {
        {'B', C::GotoBlockBegin}, {'K', C::GotoBlockEnd}, {'R', C::TextStart}, {'C', C::TextEnd},
        {'S', C::ViewHome},       {'D', C::ViewEnd},      {'E', C::WindowTop}, {'T', C::WindowTop},
        {'X', C::WindowBottom},   {'U', C::WindowBottom}};
    for (const auto& [letter, command] : moves)
        b.InState(kQuickState, letter, kCtrl, Do(command));
}

void GroupE(TBuilder b) {  // bookmark digits after Ctrl+K and Ctrl+Q
    for (int d = 0; d <= 9; ++d) {
        const uint16_t key = static_cast<uint16_t>(vk::Digit(d));
        const int n = BookmarkOfDigit(d);
        for (uint8_t shift : {kNone, kCtrl}) {
            b.InState(kBlockState, key, shift, Bookmark(C::ToggleBookmark, n));
            b.InState(kQuickState, key, shift, Bookmark(C::GotoBookmark, n));
        }
        b.InState(kQuickState, key, kCtrlShift, Bookmark(C::ToggleBookmark, n));
    }
}

void GroupF(TBuilder b) {  // further classic keys
    b.Key(vk::Delete, kShift, Do(C::CutToClipboard));
    b.Key(vk::Insert, kShift, Do(C::PasteFromClipboard));
    b.Key(vk::Insert, kCtrl, Do(C::CopyToClipboard));
    b.Key(vk::Delete, kCtrl, Do(C::DeleteSelection));
    b.AnyState(vk::Home, kNone, Do(C::ViewHome));
    b.AnyState(vk::End, kNone, Do(C::ViewEnd));
    b.Key(vk::Back, kCtrl, Do(C::DeleteWordLeft));
    b.Key(vk::Back, kAlt, Do(C::Undo));
    b.Key(vk::Back, kShiftAlt, Do(C::Redo));
    b.Key(vk::Insert, kNone, Do(C::ToggleInsertMode));
    b.Key('A', kCtrl, Do(C::SelectAll));
    b.Key('G', kCtrlShift, Do(C::InsertGuid));
    b.Key('Q', kCtrl, kPrefix, kQuickState);
    b.InState(kQuickState, 'A', kCtrl, Do(C::ReplaceDialog));
    b.InState(kQuickState, 'F', kCtrl, Do(C::FindDialog));
    b.InState(kQuickState, 'Y', kCtrl, Do(C::DeleteToLineEnd));
    b.Key('O', kCtrl, kPrefix, kOptionState);
    b.InState(kOptionState, 'G', kCtrl, Do(C::GotoLineDialog));
    b.InState(kOptionState, 'U', kCtrl, Do(C::ToggleCaseBlock));
    b.InState(kOptionState, 'L', kCtrl, Do(C::SelectLine));
    b.Key('Q', kCtrlAlt, Do(C::QuoteBlock));
    b.Key(vk::OemOpenBracket, kCtrl, Do(C::MatchBracket));
}

void DigitBookmarks(TBuilder b, uint8_t gotoShift, uint8_t toggleShift) {
    for (int d = 0; d <= 9; ++d) {
        b.Key(static_cast<uint16_t>(vk::Digit(d)), gotoShift, Bookmark(C::GotoBookmark, BookmarkOfDigit(d)));
        b.Key(static_cast<uint16_t>(vk::Digit(d)), toggleShift,
              Bookmark(C::ToggleBookmark, BookmarkOfDigit(d)));
    }
}

void DefaultMapping(TKeyList& list) {
    TBuilder b{list};
    b.Key('X', kCtrl, Do(C::CutToClipboard));
    b.Key('C', kCtrl, Do(C::CopyToClipboard));
    b.Key('V', kCtrl, Do(C::PasteFromClipboard));
    b.Key(static_cast<uint16_t>(vk::F(3)), kNone, Do(C::SearchAgain));
    b.Key('E', kCtrl, Do(C::SearchAgain));
    b.Key('L', kCtrl, Do(C::SearchAgain));
    b.Key('F', kCtrl, Do(C::FindDialog));
    b.Key('R', kCtrl, Do(C::ReplaceDialog));
    b.AnyState(vk::Home, kCtrl, Do(C::TextStart));
    b.AnyState(vk::End, kCtrl, Do(C::TextEnd));
    b.AnyState(vk::Prior, kCtrl, Do(C::WindowTop));
    b.AnyState(vk::Next, kCtrl, Do(C::WindowBottom));
    b.Key(vk::Up, kCtrl, Do(C::ScrollLineUp));
    b.Key(vk::Down, kCtrl, Do(C::ScrollLineDown));
    b.Key('Z', kCtrl, Do(C::Undo));
    b.Key('Z', kCtrlShift, Do(C::Redo));
    b.Key('A', kCtrl, Do(C::SelectAll));
    b.Key('Y', kCtrl, Do(C::DeleteLine));
    b.Key('Y', kCtrlShift, Do(C::DeleteToLineEnd));
    b.Key('I', kCtrl, Do(C::TabKey));
    b.Key('N', kCtrl, Do(C::SplitLine));
    b.Key('T', kCtrl, Do(C::DeleteWordRight));
    b.Key('I', kCtrlShift, Do(C::IndentBlock));
    b.Key('U', kCtrlShift, Do(C::UnindentBlock));
    DigitBookmarks(b, kCtrl, kCtrlShift);
    GroupF(b);
    GroupA(b);
    GroupC(b);
    GroupB(b);
    GroupE(b);
    GroupD(b);
}

void ClassicMapping(TKeyList& list) {
    TBuilder b{list};
    b.Key('E', kCtrl, Do(C::CaretUp));
    b.Key('Z', kCtrl, Do(C::CaretUp));
    b.Key('X', kCtrl, Do(C::CaretDown));
    b.Key('S', kCtrl, Do(C::CaretLeft));
    b.Key('D', kCtrl, Do(C::CaretRight));
    b.Key('A', kCtrl, Do(C::WordLeft));
    b.Key('F', kCtrl, Do(C::WordRight));
    b.Key('R', kCtrl, Do(C::PageUp));
    b.Key('W', kCtrl, Do(C::PageDown));
    b.Key('C', kCtrl, Do(C::WindowBottom));
    b.Key('G', kCtrl, Do(C::DeleteChar));
    b.Key('H', kCtrl, Do(C::BackSpace));
    b.Key(vk::Back, kShift, Do(C::BackSpace));
    b.Key('I', kCtrl, Do(C::TabKey));
    b.Key('N', kCtrl, Do(C::NewLine));
    b.Key('L', kCtrl, Do(C::SearchAgain));
    b.Key('S', kCtrlShift, Do(C::SearchAgain));
    b.Key('T', kCtrl, Do(C::DeleteWordRight));
    b.Key('V', kCtrl, Do(C::ToggleInsertMode));
    b.Key('Y', kCtrl, Do(C::DeleteLine));
    b.AnyState(vk::Home, kCtrl, Do(C::WindowTop));
    b.AnyState(vk::End, kCtrl, Do(C::WindowBottom));
    b.AnyState(vk::Prior, kCtrl, Do(C::TextStart));
    b.AnyState(vk::Next, kCtrl, Do(C::TextEnd));
    GroupF(b);
    GroupA(b);
    GroupC(b);
    GroupB(b);
    GroupD(b);
    GroupE(b);
}

// Brief's selection modes: in state 6 (stream) or 7 (column) the movement keys extend the
// selection and keep the mode.
void BriefMarkModes(TBuilder b) {
    const std::pair<uint16_t, C> moves[] = {{vk::Up, C::CaretUp},     {vk::Down, C::CaretDown},
                                            {vk::Left, C::CaretLeft}, {vk::Right, C::CaretRight},
                                            {vk::Prior, C::PageUp},   {vk::Next, C::PageDown},
                                            {vk::Home, C::LineStart}, {vk::End, C::LineEnd}};
    for (const auto& [key, movement] : moves) {
        b.InState(kStreamMarkState, key, kNone, Select(movement), kStreamMarkState);
        b.InState(kColumnMarkState, key, kNone, Column(movement), kColumnMarkState);
    }
    b.InState(kStreamMarkState, vk::Escape, kNone, Do(C::ClearSelection));
    b.InState(kColumnMarkState, vk::Escape, kNone, Do(C::ClearSelection));
}

void BriefMapping(TKeyList& list) {
    TBuilder b{list};
    b.Key(vk::Subtract, kNone, Do(C::CutToClipboard));
    b.Key(vk::Add, kNone, Do(C::CopyToClipboard));
    b.Key(vk::Insert, kNone, Do(C::PasteFromClipboard));
    b.Key(vk::Multiply, kNone, Do(C::Undo));
    b.Key('U', kAlt, Do(C::Undo));
    b.Key('U', kCtrl, Do(C::Redo));
    b.Key('A', kCtrl, Select(C::LineEnd));
    b.Key('B', kCtrl, Do(C::WindowBottom));
    b.Key('T', kCtrl, Do(C::WindowTop));
    b.Key('C', kCtrl, Do(C::CenterLine));
    b.Key('D', kCtrl, Do(C::PageDown));
    b.Key('E', kCtrl, Do(C::PageUp));
    b.Key('K', kCtrl, Do(C::DeleteToLineStart));
    b.Key('M', kCtrl, Do(C::NewLine));
    b.Key(vk::Back, kCtrl, Do(C::DeleteWordLeft));
    b.Key(vk::Back, kAlt, Do(C::DeleteToNextWord));
    b.Key(vk::Return, kCtrl, Do(C::SplitLine));
    b.Key('D', kAlt, Do(C::DeleteLine));
    b.Key('K', kAlt, Do(C::DeleteToLineEnd));
    b.Key('G', kAlt, Do(C::GotoLineDialog));
    b.Key('I', kAlt, Do(C::ToggleInsertMode));
    b.Key('O', kCtrl, kPrefix, kOptionState);
    b.InState(kOptionState, 'O', kCtrl, Do(C::ToggleCaseBlock));
    for (uint8_t shift : {kNone, kAlt})
        b.Key(static_cast<uint16_t>(vk::F(5)), shift, Do(C::FindDialog));
    b.Key('S', kAlt, Do(C::FindDialog));
    for (uint8_t shift : {kNone, kAlt})
        b.Key(static_cast<uint16_t>(vk::F(6)), shift, Do(C::ReplaceDialog));
    b.Key('T', kAlt, Do(C::ReplaceDialog));
    b.Key(static_cast<uint16_t>(vk::F(5)), kShift, Do(C::SearchAgain));
    b.Key('S', kCtrl, Do(C::SearchAgain));
    b.Key(static_cast<uint16_t>(vk::F(6)), kShift, Do(C::ReplaceAgain));
    b.Key(static_cast<uint16_t>(vk::F(5)), kCtrl, Do(C::ToggleCaseSensitive));
    b.Key(static_cast<uint16_t>(vk::F(6)), kCtrl, Do(C::ToggleRegularExpr));
    b.AnyState(vk::Home, kShift, Do(C::ViewHome));
    b.AnyState(vk::End, kShift, Do(C::ViewEnd));
    b.AnyState(vk::Home, kCtrl, Do(C::WindowTop));
    b.AnyState(vk::End, kCtrl, Do(C::WindowBottom));
    b.AnyState(vk::Prior, kCtrl, Do(C::TextStart));
    b.AnyState(vk::Next, kCtrl, Do(C::TextEnd));
    b.Key('J', kAlt, kPrefix, kJumpState);
    for (int d = 0; d <= 9; ++d) {
        const uint16_t key = static_cast<uint16_t>(vk::Digit(d));
        b.Key(key, kAlt, Bookmark(C::ToggleBookmark, BookmarkOfDigit(d)));
        b.InState(kJumpState, key, kAlt, Bookmark(C::GotoBookmark, BookmarkOfDigit(d)));
    }
    b.Key('A', kAlt, Do(C::StartStreamSelection), kStreamMarkState);
    b.Key('C', kAlt, Do(C::StartColumnSelection), kColumnMarkState);
    b.Key('L', kAlt, Do(C::SelectLine), kStreamMarkState);
    b.Key('M', kAlt, Select(C::LineEnd), kStreamMarkState);
    b.Key(vk::Home, kNone, Do(C::ViewHome), kHomeState);
    b.Key(vk::End, kNone, Do(C::ViewEnd), kHomeState);
    b.InState(kHomeState, vk::Home, kNone, Do(C::TextStart));
    b.InState(kHomeState, vk::End, kNone, Do(C::TextEnd));
    GroupA(b);
    GroupC(b);
    BriefMarkModes(b);
}

void EpsilonMapping(TKeyList& list) {
    TBuilder b{list};
    b.Key('Y', kCtrl, Do(C::PasteFromClipboard));
    b.Key('W', kAlt, Do(C::CopyToClipboard));
    b.Key('W', kCtrl, Do(C::CutToClipboard));
    b.Key('H', kCtrl, Do(C::BackSpace));
    b.Key('H', kCtrlAlt, Do(C::DeleteWordLeft));
    b.Key(vk::Back, kAlt, Do(C::DeleteWordLeft));
    b.Key('D', kCtrl, Do(C::DeleteChar));
    b.Key('D', kAlt, Do(C::DeleteToNextWord));
    b.Key('C', kAlt, Do(C::CapitalizeWord));
    b.Key('L', kAlt, Do(C::LowerCaseWord));
    b.Key('U', kAlt, Do(C::UpperCaseWord));
    b.Key('M', kCtrl, Do(C::NewLine));
    b.Key('O', kCtrl, Do(C::SplitLine));
    b.Key('X', kCtrl, kPrefix, kExtendedState);
    b.InState(kExtendedState, 'G', kCtrl, Do(C::GotoLineDialog));
    b.InState(kExtendedState, 'R', kCtrl, Do(C::Redo));
    b.InState(kExtendedState, 'U', kCtrl, Do(C::Undo));
    b.InState(kExtendedState, vk::Tab, kCtrl, Do(C::IndentBlock));
    b.Key(static_cast<uint16_t>(vk::F(10)), kCtrl, Do(C::Redo));
    b.Key(static_cast<uint16_t>(vk::F(9)), kCtrl, Do(C::Undo));
    b.Key(vk::Insert, kNone, Do(C::ToggleInsertMode));
    b.Key('B', kCtrl, Do(C::CaretLeft));
    b.Key('F', kCtrl, Do(C::CaretRight));
    b.Key('B', kAlt, Do(C::WordLeft));
    b.Key('F', kAlt, Do(C::WordRight));
    b.Key('P', kCtrl, Do(C::CaretUp));
    b.Key('N', kCtrl, Do(C::CaretDown));
    b.Key('A', kCtrl, Do(C::ViewHome));
    b.Key('E', kCtrl, Do(C::ViewEnd));
    b.Key('V', kCtrl, Do(C::PageDown));
    b.Key(static_cast<uint16_t>(vk::F(6)), kCtrl, Do(C::PageDown));
    b.Key(static_cast<uint16_t>(vk::F(6)), kCtrlShift, Do(C::PageDown));
    b.Key('V', kAlt, Do(C::PageUp));
    b.Key('Z', kCtrl, Do(C::ScrollLineUp));
    b.Key('Z', kAlt, Do(C::ScrollLineDown));
    b.Key('S', kCtrlAlt, Do(C::FindDialog));
    b.Key('5', kCtrlShift, Do(C::FindDialog));
    b.Key('R', kCtrlAlt, Do(C::ReplaceDialog));
    b.Key('7', kCtrlShift, Do(C::ReplaceDialog));
    b.Key(vk::Home, kNone, Do(C::WindowTop));
    b.Key(vk::End, kNone, Do(C::WindowBottom));
    b.Key(vk::Home, kCtrl, Do(C::TextStart));
    b.Key(vk::End, kCtrl, Do(C::TextEnd));
    b.Key(vk::Subtract, kAlt, Do(C::WindowTop));
    GroupA(b);
    GroupC(b);
    GroupE(b);
}

void VisualStudioMapping(TKeyList& list) {
    TBuilder b{list};
    b.Key('X', kCtrl, Do(C::CutToClipboard));
    b.Key(vk::Delete, kShift, Do(C::CutToClipboard));
    b.Key('C', kCtrl, Do(C::CopyToClipboard));
    b.Key(vk::Insert, kCtrl, Do(C::CopyToClipboard));
    b.Key('V', kCtrl, Do(C::PasteFromClipboard));
    b.Key(vk::Insert, kShift, Do(C::PasteFromClipboard));
    b.Key(static_cast<uint16_t>(vk::F(3)), kNone, Do(C::SearchAgain));
    b.Key('I', kCtrl, Do(C::SearchAgain));
    b.Key('F', kCtrl, Do(C::FindDialog));
    b.Key(static_cast<uint16_t>(vk::F(3)), kAlt, Do(C::FindDialog));
    b.Key('Q', kCtrl, kPrefix, kQuickState);
    b.InState(kQuickState, 'F', kNone, Do(C::FindDialog));
    b.Key('H', kCtrl, Do(C::ReplaceDialog));
    b.InState(kQuickState, 'A', kNone, Do(C::ReplaceDialog));
    b.Key('G', kAlt, Do(C::GotoLineDialog));
    b.Key('L', kCtrl, Do(C::DeleteLine));
    b.Key('Y', kCtrl, Do(C::DeleteLine));
    b.Key('Y', kCtrlShift, Do(C::DeleteToLineEnd));
    b.InState(kQuickState, 'Y', kNone, Do(C::DeleteToLineEnd));
    b.Key('T', kCtrl, Do(C::DeleteWordLeft));
    b.Key(vk::Back, kCtrl, Do(C::DeleteWordLeft));
    b.Key('Z', kCtrl, Do(C::Undo));
    b.Key(vk::Back, kAlt, Do(C::Undo));
    b.Key('Z', kCtrlShift, Do(C::Redo));
    b.Key(vk::Back, kShiftAlt, Do(C::Redo));
    b.Key('K', kCtrl, kPrefix, kBlockState);
    b.InState(kBlockState, 'E', kCtrl, Do(C::LowerCaseBlock));
    b.InState(kBlockState, 'F', kCtrl, Do(C::UpperCaseBlock));
    for (uint8_t shift : {kNone, kCtrl}) {
        b.InState(kQuickState, vk::OemOpenBracket, shift, Do(C::MatchBracketForward));
        b.InState(kQuickState, vk::OemCloseBracket, shift, Do(C::MatchBracketBackward));
    }
    b.Key(vk::OemOpenBracket, kAlt, Do(C::MatchBracketForward));
    b.Key(vk::OemCloseBracket, kAlt, Do(C::MatchBracketBackward));
    b.Key(vk::Insert, kNone, Do(C::ToggleInsertMode));
    b.Key('I', kCtrlShift, Do(C::IndentBlock));
    b.Key('U', kCtrlShift, Do(C::UnindentBlock));
    b.Key(vk::Delete, kCtrl, Do(C::DeleteSelection));
    b.AnyState(vk::Home, kNone, Do(C::ViewHome));
    b.AnyState(vk::End, kNone, Do(C::ViewEnd));
    b.AnyState(vk::Home, kCtrl, Do(C::TextStart));
    b.AnyState(vk::End, kCtrl, Do(C::TextEnd));
    b.AnyState(vk::Prior, kCtrl, Do(C::WindowTop));
    b.AnyState(vk::Next, kCtrl, Do(C::WindowBottom));
    GroupA(b);
    GroupC(b);
    GroupB(b);
    GroupE(b);
    GroupD(b);
}

struct TRegisteredMapping {
    const char* name;
    void (*initialize)(TKeyList&);
};

constexpr TRegisteredMapping kMappings[] = {
    {"Default", DefaultMapping},
    {"Classic", ClassicMapping},
    {"Brief", BriefMapping},
    {"Epsilon", EpsilonMapping},
    {"Visual Studio", VisualStudioMapping},
};

}  // namespace

void TKeyList::Add(uint8_t requiredState, uint16_t key, uint8_t shift, TKeyAction action, uint8_t nextState) {
    bindings_.push_back({requiredState, nextState, key, shift, action});
}

void TKeyList::Clear() {
    bindings_.clear();
    cached_ = SIZE_MAX;
}

bool TKeyList::Matches(const TKeyData& d, uint16_t key, uint8_t shift) const noexcept {
    return d.keyCode == key && d.shiftState == shift &&
           (d.requiredState == state_ || d.requiredState == kAnyKeyState);
}

TKeyDispatch TKeyList::Dispatch(uint16_t key, uint8_t shift, bool wantReturns, bool wantTabs) {
    if ((key == vk::Return && !wantReturns) || (key == vk::Tab && !wantTabs)) {
        if (!(shift & ksCtrl))
            return {};  // left to the window
        shift = 0;
    }
    const TKeyData* found = nullptr;
    if (cached_ < bindings_.size() && Matches(bindings_[cached_], key, shift)) {
        found = &bindings_[cached_];
    } else {
        for (std::size_t i = bindings_.size(); i-- > 0;)
            if (Matches(bindings_[i], key, shift)) {
                found = &bindings_[i];
                cached_ = i;
                break;
            }
    }
    if (!found) {
        state_ = 0;
        return {};
    }
    state_ = found->nextState;
    return {true, found->action};
}

const std::vector<std::string>& KeyMappingNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const TRegisteredMapping& m : kMappings)
            n.emplace_back(m.name);
        return n;
    }();
    return names;
}

// The same in every mapping: no mapping binds Ctrl+Shift or Ctrl+Shift+Alt with the brackets.
void AddFoldingKeys(TKeyList& list) {
    TBuilder b{list};
    b.Key(vk::OemOpenBracket, kCtrlShift, Do(C::Fold));
    b.Key(vk::OemCloseBracket, kCtrlShift, Do(C::Unfold));
    b.Key(vk::OemOpenBracket, kCtrlShiftAlt, Do(C::FoldAllCells));
    b.Key(vk::OemCloseBracket, kCtrlShiftAlt, Do(C::UnfoldAll));
}

void InitializeKeyMapping(const std::string& name, TKeyList& list) {
    list.Clear();
    const TRegisteredMapping* chosen = nullptr;
    for (const TRegisteredMapping& m : kMappings)
        if (chosen == nullptr && name == m.name)
            chosen = &m;
    if (chosen != nullptr)
        chosen->initialize(list);
    else
        DefaultMapping(list);
    AddFoldingKeys(list);
}

}  // namespace tarnwick
