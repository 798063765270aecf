// Keys and commands: a key stroke goes through the key list; the command it names is looked up
// in one table of handlers; a printable character that no binding takes is typed.
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QUuid>

#include "host/abi/ascii_text.h"
#include "languages/code_template_expander.h"
#include "textengine/view/custom_dc_memo.h"
#include "textengine/view/match_bracket.h"
#include "textengine/view/template_choice_list.h"
#include "widgets/virtual_keys.h"

namespace tarnwick {

namespace {

// Change codes of the commands the buffer does not provide.
constexpr TChangeCode ccInsertGuid = ccLinesInsert;  // 39
constexpr TChangeCode ccCapitalizeWord = static_cast<TChangeCode>(62);
constexpr TChangeCode ccQuoteBlock = static_cast<TChangeCode>(67);

using C = TKeyCommand;
using THandler = void (*)(TCustomDCMemo&, const TKeyAction&);

struct TCommandEntry {
    TKeyCommand command;
    THandler handler;
};

TCustomMemoSource& Src(TCustomDCMemo& m) { return m.MemoSource(); }

// One handler per command; the dispatch is a lookup in this table.
const TCommandEntry kCommands[] = {
    {C::ViewUp, [](TCustomDCMemo& m, const TKeyAction&) { m.ViewUp(); }},
    {C::ViewDown, [](TCustomDCMemo& m, const TKeyAction&) { m.ViewDown(); }},
    {C::ViewLeft, [](TCustomDCMemo& m, const TKeyAction&) { m.ViewLeft(); }},
    {C::ViewRight, [](TCustomDCMemo& m, const TKeyAction&) { m.ViewRight(); }},
    {C::ViewHome, [](TCustomDCMemo& m, const TKeyAction&) { m.ViewHome(); }},
    {C::ViewEnd, [](TCustomDCMemo& m, const TKeyAction&) { m.ViewEnd(); }},
    {C::PageUp, [](TCustomDCMemo& m, const TKeyAction&) { m.PageUp(); }},
    {C::PageDown, [](TCustomDCMemo& m, const TKeyAction&) { m.PageDown(); }},
    {C::WindowTop, [](TCustomDCMemo& m, const TKeyAction&) { m.WindowTop(); }},
    {C::WindowBottom, [](TCustomDCMemo& m, const TKeyAction&) { m.WindowBottom(); }},
    {C::ScrollLineUp, [](TCustomDCMemo& m, const TKeyAction&) { m.ScrollLineUp(); }},
    {C::ScrollLineDown, [](TCustomDCMemo& m, const TKeyAction&) { m.ScrollLineDown(); }},
    {C::CenterLine, [](TCustomDCMemo& m, const TKeyAction&) { m.CenterLine(); }},
    {C::CaretUp, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).CaretUp(); }},
    {C::CaretDown, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).CaretDown(); }},
    {C::CaretLeft, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).CaretLeft(); }},
    {C::CaretRight, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).CaretRight(); }},
    {C::WordLeft, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).WordLeft(); }},
    {C::WordRight, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).WordRight(); }},
    {C::LineStart, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).LineStart(); }},
    {C::LineEnd, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).LineEnd(); }},
    {C::TextStart, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).TextStart(); }},
    {C::TextEnd, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).TextEnd(); }},
    {C::GotoBlockBegin, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).GotoBlockBegin(); }},
    {C::GotoBlockEnd, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).GotoBlockEnd(); }},
    {C::StartStreamSelection, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).SetSelectionKind(stNone); }},
    {C::StartColumnSelection, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).SetSelectionKind(stNone); }},
    {C::ClearSelection, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).SetSelectionKind(stNone); }},
    {C::SelectAll, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).SelectAll(); }},
    {C::SelectLine, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).SelectLine(); }},
    {C::SelectWord, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).SelectWord(); }},
    {C::MarkBlockBegin, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).MarkBlockBegin(); }},
    {C::MarkBlockEnd, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).MarkBlockEnd(); }},
    {C::DeleteChar, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).DeleteChar(); }},
    {C::BackSpace, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).BackSpace(); }},
    {C::NewLine, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).NewLine(); }},
    {C::TabKey, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).TabKey(); }},
    {C::BackTab, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).BackTab(); }},
    {C::DeleteLine, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).DeleteLine(); }},
    {C::DeleteWordLeft, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).DeleteWordLeft(); }},
    {C::DeleteWordRight, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).DeleteWordRight(); }},
    {C::DeleteToLineStart, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).DeleteToLineStart(); }},
    {C::DeleteToLineEnd, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).DeleteToLineEnd(); }},
    {C::DeleteSelection, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).DeleteSelection(); }},
    {C::CopyBlock, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).CopyBlock(); }},
    {C::MoveBlock, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).MoveBlock(); }},
    {C::IndentBlock, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).IndentBlock(); }},
    {C::UnindentBlock, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).UnindentBlock(); }},
    {C::UpperCaseBlock, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).UpperCaseBlock(); }},
    {C::LowerCaseBlock, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).LowerCaseBlock(); }},
    {C::ToggleCaseBlock, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).ToggleCaseBlock(); }},
    {C::LowerCaseWord, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).LowerCaseWord(); }},
    {C::UpperCaseWord, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).UpperCaseWord(); }},
    {C::Undo, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).Undo(); }},
    {C::Redo, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).Redo(); }},
    {C::ToggleInsertMode, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).ToggleInsertMode(); }},
    {C::ToggleBookmark, [](TCustomDCMemo& m, const TKeyAction& a) { Src(m).ToggleBookmark(a.argument); }},
    {C::GotoBookmark, [](TCustomDCMemo& m, const TKeyAction& a) { Src(m).GotoBookmark(a.argument); }},
    {C::FindDialog, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).FindDialog(); }},
    {C::ReplaceDialog, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).ReplaceDialog(); }},
    {C::SearchAgain, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).SearchAgain(); }},
    {C::ReplaceAgain, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).ReplaceAgain(); }},
    {C::ToggleCaseSensitive, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).ToggleCaseSensitive(); }},
    {C::ToggleRegularExpr, [](TCustomDCMemo& m, const TKeyAction&) { Src(m).ToggleRegularExpr(); }},
    {C::GotoLineDialog, [](TCustomDCMemo& m, const TKeyAction&) { m.GotoLineDialog(); }},
    {C::CutToClipboard, [](TCustomDCMemo& m, const TKeyAction&) { m.CutToClipboard(); }},
    {C::CopyToClipboard, [](TCustomDCMemo& m, const TKeyAction&) { m.CopyToClipboard(); }},
    {C::PasteFromClipboard, [](TCustomDCMemo& m, const TKeyAction&) { m.PasteFromClipboard(); }},
    {C::MatchBracket, [](TCustomDCMemo& m, const TKeyAction&) { m.MatchBracket(0); }},
    {C::MatchBracketForward, [](TCustomDCMemo& m, const TKeyAction&) { m.MatchBracket(1); }},
    {C::MatchBracketBackward, [](TCustomDCMemo& m, const TKeyAction&) { m.MatchBracket(-1); }},
    {C::CloseHints, [](TCustomDCMemo& m, const TKeyAction&) { m.CloseHints(); }},
    {C::CodeTemplatePopup, [](TCustomDCMemo& m, const TKeyAction&) { m.CodeTemplatePopup(); }},
    {C::Fold, [](TCustomDCMemo& m, const TKeyAction&) { m.FoldAtCaret(); }},
    {C::Unfold, [](TCustomDCMemo& m, const TKeyAction&) { m.UnfoldAtCaret(); }},
    {C::FoldAllCells, [](TCustomDCMemo& m, const TKeyAction&) { m.FoldAllCells(); }},
    {C::UnfoldAll, [](TCustomDCMemo& m, const TKeyAction&) { m.UnfoldAll(); }},
};

// The table indexed by command, built once from the list above.
const std::array<THandler, 256>& HandlerTable() {
    static const std::array<THandler, 256> table = [] {
        std::array<THandler, 256> t{};
        for (const TCommandEntry& e : kCommands)
            t[size_t(e.command)] = e.handler;
        return t;
    }();
    return table;
}

uint8_t ShiftBits(const TVirtualKey& key) {
    return uint8_t((key.shift ? ksShift : 0) | (key.alt ? ksAlt : 0) | (key.ctrl ? ksCtrl : 0));
}

}  // namespace

// The commands that need the view, not only the buffer; the rest are in the table above.
void TCustomDCMemo::ExecuteAction(const TKeyAction& action) {
    switch (action.command) {
        case C::SelectMove:
        case C::ColumnMove: {
            const TSelectionType kind = action.command == C::SelectMove ? stStream : stColumn;
            source_->ExtendSelection(kind, [this, &action] { RunMovement(action.movement); });
            return;
        }
        case C::DeleteToNextWord:
            DeleteToNextWord();
            return;
        case C::SplitLine:
            SplitLineAtCaret();
            return;
        case C::CapitalizeWord:
            CapitalizeWord();
            return;
        case C::QuoteBlock:
            QuoteBlock();
            return;
        case C::InsertGuid:
            InsertGuid();
            return;
        default:
            break;
    }
    if (THandler handler = HandlerTable()[size_t(action.command)])
        handler(*this, action);
}

void TCustomDCMemo::RunMovement(TKeyCommand movement) { ExecuteAction(TKeyAction{movement}); }

bool TCustomDCMemo::event(QEvent* event) {
    // Tab and Shift+Tab belong to the key mapping, not to focus changes.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            if (key->isAccepted())
                return true;
        }
    }
    return QWidget::event(event);
}

void TCustomDCMemo::keyPressEvent(QKeyEvent* event) {
    if (!RunCommand([this, event] { DispatchKey(event); }))
        event->accept();  // the key was taken; it must not reach the window's own shortcuts
}

bool TCustomDCMemo::RunCommand(const std::function<void()>& command) {
    std::string message;
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "The command failed";
    }
    ReportFailure(message);
    return false;
}

// A failure leaves no mouse gesture half done: the error box takes the button's release.
void TCustomDCMemo::ReportFailure(const std::string& message) {
    autoScroll_.stop();
    mouseMode_ = MouseMode::Idle;
    pressInGutter_ = false;
    if (OnError) {
        OnError(*this, message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, "Error", QString::fromLatin1(message.c_str()), QMessageBox::Ok,
                    this);
    box.exec();
}

void TCustomDCMemo::DispatchKey(QKeyEvent* event) {
    const TVirtualKey key = TranslateKeyEvent(*event);
    // A modifier pressed on its own is part of the next stroke, not a stroke: it must not
    // reset a prefix state (Ctrl+K, then Ctrl pressed again for Ctrl+K).
    const bool modifierOnly = key.code == vk::Shift || key.code == vk::Control || key.code == vk::Menu ||
                              key.code == vk::Capital || event->key() == Qt::Key_Meta ||
                              event->key() == Qt::Key_AltGr;
    if (modifierOnly) {
        event->ignore();
        return;
    }
    if (key.code != 0 && !keys_.Empty()) {
        const TKeyDispatch d = keys_.Dispatch(uint16_t(key.code), ShiftBits(key), WantReturns, WantTabs);
        if (d.handled) {
            if (d.action.command != C::None)
                ExecuteAction(d.action);
            event->accept();
            return;
        }
    }
    const QString text = event->text();
    if (text.size() == 1 && !key.ctrl && !(key.alt && !key.ctrl)) {
        const char16_t u = text.at(0).unicode();
        if ((u >= 32 && u <= 126) || (u >= 128 && u <= 255)) {
            TypeCharacter(char(u));
            event->accept();
            return;
        }
    }
    event->ignore();
}

void TCustomDCMemo::TypeCharacter(char c) {
    if (OnKeyPressFilter && !OnKeyPressFilter(*this, c))
        return;
    source_->TypeChar(c);
}

// ---- View movements --------------------------------------------------------------------------

void TCustomDCMemo::ViewUp() {
    if (hideCaret_)
        return ScrollLineUp();
    VerticalMove(-1, false);
}

void TCustomDCMemo::ViewDown() {
    if (hideCaret_)
        return ScrollLineDown();
    VerticalMove(1, false);
}

void TCustomDCMemo::ViewLeft() {
    if (hideCaret_)
        return SetLeftColumn(leftCol_ - 1);
    const TPosition caret = source_->Caret();
    if (options_.Has(moNotePadCursorStyle) && caret.CharPos == 0) {
        if (caret.LinePos > 0)
            source_->SetCaret(source_->LineLength(caret.LinePos - 1), caret.LinePos - 1);
        return;
    }
    source_->CaretLeft();
}

void TCustomDCMemo::ViewRight() {
    if (hideCaret_)
        return SetLeftColumn(leftCol_ + 1);
    source_->CaretRight();
}

void TCustomDCMemo::ViewHome() {
    if (!wordWrap_)
        return source_->LineStart();
    const TLineInfo row = RowInfo(RowOfPosition(source_->Caret()));
    if (row.Index == 0)
        return source_->LineStart();
    source_->SetCaret(row.StartColumn, row.Line);
}

void TCustomDCMemo::ViewEnd() {
    const TLineInfo row = wordWrap_ ? RowInfo(RowOfPosition(source_->Caret())) : TLineInfo{};
    if (!wordWrap_ || row.IsLastRow())
        return source_->LineEnd();
    caretAtRowEnd_ = TPosition{row.Line, row.EndColumn};  // first: the scroll after the move
    source_->SetCaret(row.EndColumn, row.Line);
    InvalidateCaret();
}

void TCustomDCMemo::PageUp() {
    const int32_t rows = FullyVisibleRows();
    SetTopRow(topRow_ - rows);
    VerticalMove(-rows, false);
}

void TCustomDCMemo::PageDown() {
    const int32_t rows = FullyVisibleRows();
    SetTopRow(topRow_ + rows);
    VerticalMove(rows, false);
}

void TCustomDCMemo::WindowTop() { VerticalMove(topRow_ - RowOfPosition(source_->Caret()), false); }

void TCustomDCMemo::WindowBottom() {
    VerticalMove(topRow_ + FullyVisibleRows() - 1 - RowOfPosition(source_->Caret()), false);
}

void TCustomDCMemo::ScrollLineUp() { SetTopRow(topRow_ - 1); }

void TCustomDCMemo::ScrollLineDown() { SetTopRow(topRow_ + 1); }

void TCustomDCMemo::CenterLine() { SetTopRow(RowOfPosition(source_->Caret()) - FullyVisibleRows() / 2); }

void TCustomDCMemo::GotoLineDialog() {
    if (source_->GotoLineDialog())
        CenterLine();
}

// ---- Clipboard -------------------------------------------------------------------------------

void TCustomDCMemo::CopyToClipboard() { source_->CopyToClipboard(clipboard_); }

void TCustomDCMemo::CutToClipboard() { source_->CutToClipboard(clipboard_); }

void TCustomDCMemo::PasteFromClipboard() { source_->PasteFromClipboard(clipboard_); }

// ---- Commands the buffer does not have -------------------------------------------------------

void TCustomDCMemo::SplitLineAtCaret() {
    TChangeBracket bracket(*source_, ccSplitLine);
    const TPosition caret = source_->Caret();
    source_->SplitLine();
    source_->SetCaret(caret.CharPos, caret.LinePos);
}

void TCustomDCMemo::DeleteToNextWord() {
    TChangeBracket bracket(*source_, ccDeleteWordRight);
    source_->ExtendSelection(stStream, [this] { source_->WordRight(); });
    source_->DeleteSelection();
}

void TCustomDCMemo::InsertGuid() {
    const QByteArray guid = QUuid::createUuid().toString(QUuid::WithBraces).toUpper().toLatin1();
    const std::string text = "['" + guid.toStdString() + "']";
    TChangeBracket bracket(*source_, ccInsertGuid);
    if (source_->InsertString(text))
        source_->MoveCaret(0, int32_t(text.size()));
}

// Lower case with a capital at the start of every word part (a letter after a non-letter).
void TCustomDCMemo::CapitalizeWord() {
    const TPosition caret = source_->Caret();
    const std::string line = source_->LineText(caret.LinePos);
    int32_t from = std::min(caret.CharPos, int32_t(line.size()));
    int32_t to = from;
    const auto isWord = [this](char c) { return !source_->IsDelimiter(static_cast<unsigned char>(c)); };
    while (from > 0 && isWord(line[size_t(from - 1)]))
        --from;
    while (to < int32_t(line.size()) && isWord(line[size_t(to)]))
        ++to;
    if (from == to)
        return;
    std::string word = line.substr(size_t(from), size_t(to - from));
    bool start = true;
    for (char& c : word) {
        const bool letter = ascii::IsLetter(c);
        c = start && letter ? ascii::ToUpper(c) : ascii::ToLower(c);
        start = !letter;
    }
    TChangeBracket bracket(*source_, ccCapitalizeWord);
    source_->SetCaret(from, caret.LinePos);
    source_->DeleteChars(to - from);
    source_->InsertString(word);
    source_->SetCaret(caret.CharPos, caret.LinePos);
}

void TCustomDCMemo::QuoteBlock() {
    if (!source_->HasSelection())
        return;
    const TPosition caret = source_->Caret();
    const int32_t first = source_->SelStart().LinePos;
    const int32_t last = std::min(source_->SelEnd().LinePos, LastLine());
    TChangeBracket bracket(*source_, ccQuoteBlock);
    for (int32_t line = first; line <= last; ++line) {
        source_->SetCaret(0, line);
        source_->InsertString(">");
    }
    source_->SetCaret(caret.CharPos, caret.LinePos);
}

void TCustomDCMemo::MatchBracket(int direction) {
    const TBracketDirection d = direction > 0   ? TBracketDirection::Forward
                                : direction < 0 ? TBracketDirection::Backward
                                                : TBracketDirection::Both;
    if (const std::optional<TPosition> match = FindMatchingBracket(*source_, d))
        source_->SetCaret(match->CharPos, match->LinePos);
}

// ---- Code templates --------------------------------------------------------------------------

void TCustomDCMemo::CodeTemplatePopup() {
    if (codeTemplates_ == nullptr || templatesType_ == "None")
        return;
    templateWord_.reset();
    const auto chooser = [this](const std::vector<const TMemoCodeTemplate*>& offered) {
        // The list answers later; the typed word is selected again when a line is chosen.
        if (source_->HasSelection())
            templateWord_ = std::make_pair(source_->SelStart(), source_->SelEnd());
        else
            templateWord_.reset();
        choiceList_->Popup(offered, CaretRect().bottomLeft(), ToQFont(TemplateFont, false));
        return -1;
    };
    ShowCodeTemplates(*source_, *codeTemplates_, chooser);
}

void TCustomDCMemo::ChooseTemplate(int index) {
    const TMemoCodeTemplate* chosen = choiceList_->Offered(index);
    if (chosen == nullptr) {
        source_->SetSelectionKind(stNone);
        return;
    }
    TChangeBracket bracket(*source_, ccInsert);
    if (templateWord_) {
        const auto [from, to] = *templateWord_;
        source_->SetCaret(to.CharPos, to.LinePos);
        source_->SetSelection(from.CharPos, from.LinePos, to.CharPos, to.LinePos);
        source_->SetSelectionKind(stStream);
    }
    InsertCodeTemplate(*source_, *chosen);
    templateWord_.reset();
}

void TCustomDCMemo::CloseHints() {
    choiceList_->hide();
    HideScrollHint();
    delayedHint_.stop();
    delayedHintWindow_->hide();
}

}  // namespace tarnwick
