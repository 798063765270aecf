// Commands on the selected block: indent, case changes, copy and move, and the clipboard.
// They collect the selected text, transform it, delete the selection and insert the result,
// so undo sees ordinary deletions and insertions.
#include <algorithm>

#include "host/abi/ascii_text.h"
#include "textengine/clipboard.h"
#include "textengine/custom_memo_source.h"

namespace tarnwick {

namespace {

std::string Mapped(std::string s, char (*f)(char)) {
    std::transform(s.begin(), s.end(), s.begin(), f);
    return s;
}

char ToggledCase(char c) {
    const char upper = latin1::ToUpper(c);
    return upper != c ? upper : latin1::ToLower(c);
}

// Splits clipboard text at CR LF, CR or LF.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

}  // namespace

// The selected text per line: stored form (tabs kept) for a stream selection, expanded and
// padded for a column selection.
std::vector<std::string> TCustomMemoSource::SelectionStoredLines() const {
    if (selType_ != stStream || selTopLeft_.Pos.LinePos == selBottomRight_.Pos.LinePos)
        return SelectionLines();
    std::vector<std::string> out;
    const TPosition tl = selTopLeft_.Pos, br = selBottomRight_.Pos;
    for (int32_t line = tl.LinePos; line <= br.LinePos; ++line) {
        const std::string_view text = StoredLine(line);
        size_t from = 0, to = text.size();
        if (line == tl.LinePos)
            from = size_t(std::min<int64_t>(tabStops_.Locate(text, tl.CharPos).index, int64_t(text.size())));
        if (line == br.LinePos)
            to = size_t(std::min<int64_t>(tabStops_.Locate(text, br.CharPos).index, int64_t(text.size())));
        out.emplace_back(text.substr(from, to > from ? to - from : 0));
    }
    return out;
}

std::string TCustomMemoSource::SelectionText() const {
    const std::vector<std::string> lines = SelectionStoredLines();
    const bool exclude = options_.Has(soExcludeReadOnlyLines);
    std::string text;
    bool first = true;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (exclude && LineReadOnly(selTopLeft_.Pos.LinePos + int32_t(i)))
            continue;
        if (!first)
            text += "\r\n";
        text += lines[i];
        first = false;
    }
    return text;
}

bool TCustomMemoSource::SelectionWritable() const {
    if (readOnly_ || selType_ == stNone)
        return false;
    const int32_t last = std::min(selBottomRight_.Pos.LinePos, LineCount() - 1);
    for (int32_t l = selTopLeft_.Pos.LinePos; l <= last; ++l)
        if (store_.IsReadOnly(l))
            return false;
    return true;
}

void TCustomMemoSource::TransformSelectedLines(TChangeCode code,
                                               const std::function<std::string(std::string)>& f) {
    TChangeBracket bracket(*this, code);
    if (!SelectionWritable())
        return;
    const SavedSelection saved = SaveSelection();
    std::vector<std::string> before = SelectionStoredLines();
    if (saved.type == stColumn) {
        // Only the text in the rectangle: the padding of short lines is not theirs to keep.
        for (size_t i = 0; i < before.size(); ++i) {
            const int32_t inLine = LineLength(saved.topLeft.LinePos + int32_t(i)) - saved.topLeft.CharPos;
            before[i].resize(std::min(before[i].size(), size_t(std::max(inLine, 0))));
        }
    }
    std::vector<std::string> after;
    after.reserve(before.size());
    for (const std::string& line : before)
        after.push_back(f(line));
    if (after == before)
        return;
    const bool column = saved.type == stColumn;
    DeleteSelection();
    SetCaret(saved.topLeft.CharPos, saved.topLeft.LinePos);
    TPosition end = InsertBlock(after, column);
    if (column) {
        size_t width = 0;
        for (const std::string& line : after)
            width = std::max(width, line.size());
        end = {saved.bottomRight.LinePos, saved.topLeft.CharPos + int32_t(width) - 1};
    }
    const TPosition caret = saved.caret == saved.topLeft       ? saved.topLeft
                            : saved.caret == saved.bottomRight ? end
                                                               : saved.caret;
    SetCaret(caret.CharPos, caret.LinePos);
    ++selectionCommand_;
    selTopLeft_.Pos = saved.topLeft;
    selBottomRight_.Pos = end;
    selType_ = saved.type;
    --selectionCommand_;
}

void TCustomMemoSource::IndentBlock() {
    const std::string indent(size_t(blockIndent_), ' ');
    TransformSelectedLines(ccIndentBlock,
                           [&](std::string line) { return line.empty() ? line : indent + line; });
}

void TCustomMemoSource::UnindentBlock() {
    TransformSelectedLines(ccUnindentBlock, [&](std::string line) {
        size_t n = 0;
        while (n < size_t(blockIndent_) && n < line.size() && (line[n] == ' ' || line[n] == '\t'))
            ++n;
        return line.substr(n);
    });
}

void TCustomMemoSource::UpperCaseBlock() {
    TransformSelectedLines(ccUpperCaseBlock,
                           [](std::string s) { return Mapped(std::move(s), latin1::ToUpper); });
}

void TCustomMemoSource::LowerCaseBlock() {
    TransformSelectedLines(ccLowerCaseBlock,
                           [](std::string s) { return Mapped(std::move(s), latin1::ToLower); });
}

void TCustomMemoSource::ToggleCaseBlock() {
    TransformSelectedLines(ccToggleCaseBlock,
                           [](std::string s) { return Mapped(std::move(s), ToggledCase); });
}

void TCustomMemoSource::ChangeWordCase(TChangeCode code, bool upper) {
    TChangeBracket bracket(*this, code);
    const std::string word = WordAtCaret();
    if (word.empty())
        return;
    const SavedSelection saved = SaveSelection();
    const std::string text = LineText(caret_.LinePos);
    auto isWord = [&](int32_t i) {
        return i >= 0 && i < int32_t(text.size()) &&
               !IsDelimiter(static_cast<unsigned char>(text[size_t(i)]));
    };
    int32_t start = isWord(caret_.CharPos) ? caret_.CharPos : caret_.CharPos - 1;
    while (isWord(start - 1))
        --start;
    selTopLeft_.Pos = {caret_.LinePos, start};
    selBottomRight_.Pos = {caret_.LinePos, start + int32_t(word.size())};
    selType_ = stStream;
    TransformSelectedLines(code, [upper](std::string s) {
        return Mapped(std::move(s), upper ? latin1::ToUpper : latin1::ToLower);
    });
    SetCaret(saved.caret.CharPos, saved.caret.LinePos);
    RestoreSelection(saved);
}

void TCustomMemoSource::UpperCaseWord() { ChangeWordCase(ccUpperCaseWord, true); }
void TCustomMemoSource::LowerCaseWord() { ChangeWordCase(ccLowerCaseWord, false); }

void TCustomMemoSource::CopyBlock() {
    TChangeBracket bracket(*this, ccCopyBlock);
    if (selType_ == stNone || readOnly_)
        return;
    InsertBlock(SelectionStoredLines(), selType_ == stColumn);
    selType_ = stNone;
}

bool TCustomMemoSource::MoveBlock() {
    TChangeBracket bracket(*this, ccMoveBlock);
    if (!SelectionWritable())
        return false;
    const TPosition tl = selTopLeft_.Pos, br = selBottomRight_.Pos;
    const bool inside = selType_ == stColumn ? caret_.LinePos >= tl.LinePos && caret_.LinePos <= br.LinePos &&
                                                   caret_.CharPos > tl.CharPos && caret_.CharPos <= br.CharPos
                                             : tl < caret_ && caret_ < br;
    if (inside)
        return false;
    const bool column = selType_ == stColumn;
    const std::vector<std::string> lines = SelectionStoredLines();
    // The destination, kept in place by the deletion like any other position.
    TMemoPosition destination;
    destination.Pos = caret_;
    AddPosition(&destination);
    DeleteSelection();
    RemovePosition(&destination);
    SetCaret(destination.Pos.CharPos, destination.Pos.LinePos);
    const TPosition end = InsertBlock(lines, column);
    ++selectionCommand_;
    selTopLeft_.Pos = caret_;
    selBottomRight_.Pos = end;
    selType_ = column ? stColumn : stStream;
    --selectionCommand_;
    return true;
}

void TCustomMemoSource::CopyToClipboard(TClipboard& clipboard) {
    if (selType_ != stNone)
        clipboard.SetText(SelectionText(), selType_ == stColumn);
    else if (options_.Has(soForceCutCopy))
        clipboard.Clear();
}

void TCustomMemoSource::CutToClipboard(TClipboard& clipboard) {
    TChangeBracket bracket(*this, ccCut);
    CopyToClipboard(clipboard);
    if (SelectionWritable())
        DeleteSelection();
}

void TCustomMemoSource::PasteFromClipboard(TClipboard& clipboard) {
    TChangeBracket bracket(*this, ccPaste);
    if (readOnly_ || !clipboard.HasText())
        return;
    if (OverwriteBlocksApplies())
        DeleteSelection();
    std::vector<std::string> lines = SplitLines(clipboard.Text());
    if (!options_.Has(soUseTabCharacter)) {
        const std::string spaces(size_t(spacesInTab_), ' ');
        for (std::string& line : lines) {
            for (size_t at = line.find('\t'); at != std::string::npos;
                 at = line.find('\t', at + spaces.size()))
                line.replace(at, 1, spaces);
        }
    }
    if (OnPasteFromClipboard)
        OnPasteFromClipboard(*this, lines);
    const TPosition end = InsertBlock(lines, clipboard.IsColumnBlock());
    SetCaret(end.CharPos, end.LinePos);
    if (!options_.Has(soPersistentBlocks))
        selType_ = stNone;
}

}  // namespace tarnwick
