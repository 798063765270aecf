#include "textengine/external_strings.h"

#include "textengine/custom_memo_source.h"
#include "textengine/memory_stream.h"

namespace tarnwick {

int32_t TExternalStrings::Count() const { return source_.LineCount(); }

std::string TExternalStrings::Get(int32_t index) const { return source_.LineText(index); }

std::string TExternalStrings::Incoming(std::string_view text) const {
    if (source_.HasOption(soUseTabCharacter) || text.find('\t') == std::string_view::npos)
        return std::string(text);
    std::string out;
    for (char c : text) {
        if (c == '\t')
            out.append(size_t(source_.SpacesInTab()), ' ');
        else
            out.push_back(c);
    }
    return out;
}

void TExternalStrings::Put(int32_t index, std::string_view text) {
    if (index < 0 || index >= Count())
        return;
    TCustomMemoSource& s = source_;
    s.BeginSafeChange(ccLinesPut);
    s.PutStoredLine(index, Incoming(text), {});
    s.AdjustFolds(index, index, index, 0);
    s.TextChangedAt(index, index);
    s.EndChange();
    s.ClearUndo();
}

void TExternalStrings::Insert(int32_t index, std::string_view text) {
    if (index < 0 || index > Count())
        return;
    TCustomMemoSource& s = source_;
    s.BeginSafeChange(ccLinesInsert);
    s.InsertStoredLine(index, Incoming(text));
    if (index > 0)
        s.store_.SetEndState(index, s.store_.EndState(index - 1));
    s.AdjustForLineInsert(index);
    s.safeCaret_.Pos = {index, 0};
    s.TextChangedAt(index, index);
    s.EndChange();
    s.ClearUndo();
}

void TExternalStrings::Delete(int32_t index) {
    if (index < 0 || index >= Count())
        return;
    TCustomMemoSource& s = source_;
    s.BeginSafeChange(ccDeleteLine);
    const uint32_t removedEnd = s.store_.EndState(index);
    s.DeleteStoredLine(index);
    // The next line was parsed after the removed one; it stays valid only if the states agree.
    if (index < Count()) {
        const uint32_t before = index > 0 ? s.store_.EndState(index - 1)
                                          : (s.SyntaxParser() ? s.SyntaxParser()->DefaultState() : 0);
        if (before != removedEnd)
            s.store_.SetUpToDate(index, false);
    }
    s.AdjustForLineDelete(index);
    s.safeCaret_.Pos = {index, 0};
    s.TextChangedAt(index, index);
    s.EndChange();
    s.ClearUndo();
}

void TExternalStrings::Clear() {
    TCustomMemoSource& s = source_;
    s.BeginSafeChange(ccLinesClear);
    s.store_.Clear();
    s.lengths_.Reset();
    s.bookmarks_.Clear();
    s.folds_.Clear();
    s.selType_ = stNone;
    s.selTopLeft_.Pos = s.selBottomRight_.Pos = {};
    s.safeCaret_.Pos = {};
    s.TextChangedAt(0, 0);
    s.EndChange();
    s.ClearUndo();
}

void TExternalStrings::Assign(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    // A last empty line needs its own line end, or loading would not see it.
    if (!lines.empty() && lines.back().empty())
        text += '\n';
    SetText(text);
}

void TExternalStrings::SetText(std::string_view text) {
    TCustomMemoSource& s = source_;
    TChangeBracket bracket(s, ccLinesAssign);
    TMemoryStream stream{std::string(text)};
    TInternalStrings loaded;
    loaded.Load(stream, s.LoadRules());
    s.store_.Swap(loaded);
    s.lengths_.Reset();
    s.bookmarks_.Clear();
    s.AfterBulkLoad();
    s.TextChangedAt(0, std::max(Count() - 1, 0));
}

std::string TExternalStrings::Text() const { return source_.Text(); }

void TExternalStrings::LoadFromStream(TByteStream& stream) { source_.LoadFromStream(stream); }

void TExternalStrings::SaveToStream(TByteStream& stream) const { source_.SaveToStream(stream); }

}  // namespace tarnwick
