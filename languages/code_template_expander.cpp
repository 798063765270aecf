#include "languages/code_template_expander.h"

#include <optional>

#include "textengine/custom_memo_source.h"

namespace tarnwick {

namespace {

// Selects the word that ends at the caret, unless the caret stands inside a word or after
// something that is not a word (outside persistent blocks); answers the typed word.
std::string SelectWordBeforeCaret(TCustomMemoSource& buffer) {
    buffer.SetSelectionKind(stNone);
    const TPosition caret = buffer.Caret();
    const std::string line = buffer.LineText(caret.LinePos);
    const int32_t length = static_cast<int32_t>(line.size());
    const auto isWord = [&](int32_t i) {
        return i >= 0 && i < length &&
               !buffer.IsDelimiter(static_cast<unsigned char>(line[static_cast<std::size_t>(i)]));
    };
    const int32_t column = std::min(caret.CharPos, length);
    if (!buffer.HasOption(soPersistentBlocks)) {
        if (isWord(caret.CharPos) && isWord(caret.CharPos - 1))
            return {};
        int32_t firstWordChar = 0;
        while (firstWordChar < length && !isWord(firstWordChar))
            ++firstWordChar;
        if (!isWord(column - 1) && caret.CharPos != firstWordChar)
            return {};
    }
    int32_t start = column;
    while (isWord(start - 1))
        --start;
    if (start == column)
        return {};
    buffer.SetSelection(start, caret.LinePos, column, caret.LinePos);
    buffer.SetSelectionKind(stStream);
    buffer.SetCaret(caret.CharPos, caret.LinePos);
    std::string word = line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(column - start));
    while (!word.empty() && word.back() == ' ')
        word.pop_back();
    return word;
}

}  // namespace

void InsertCodeTemplate(TCustomMemoSource& buffer, const TMemoCodeTemplate& code,
                        const TTemplateInsertHook& onInsert) {
    TChangeBracket bracket(buffer, ccInsert);
    TUndoBlock block(buffer);
    if (buffer.HasSelection())
        buffer.DeleteSelection();
    std::vector<std::string> lines = code.Code;
    if (onInsert)
        onInsert(lines);
    const TPosition caret = buffer.Caret();
    const std::string indent(static_cast<std::size_t>(caret.CharPos), ' ');
    for (std::size_t i = 1; i < lines.size(); ++i)
        lines[i].insert(0, indent);
    std::optional<TPosition> target;
    for (std::size_t i = 0; i < lines.size() && !target; ++i) {
        const std::size_t marker = lines[i].find('|');
        if (marker == std::string::npos)
            continue;
        lines[i].erase(marker, 1);
        const int32_t column = static_cast<int32_t>(marker);
        target = TPosition{caret.LinePos + static_cast<int32_t>(i), i == 0 ? caret.CharPos + column : column};
    }
    if (!lines.empty())
        buffer.InsertBlock(lines, false);
    buffer.SetSelectionKind(stNone);
    if (target)
        buffer.SetCaret(target->CharPos, target->LinePos);
}

void ShowCodeTemplates(TCustomMemoSource& buffer, const TMemoCodeTemplates& templates,
                       const TTemplateChooser& choose, const TTemplateInsertHook& onInsert) {
    if (buffer.TemplatesType() == "None")
        return;
    TChangeBracket bracket(buffer, ccInsert);
    const std::string word = SelectWordBeforeCaret(buffer);
    std::vector<const TMemoCodeTemplate*> found;
    bool exact = false;
    templates.FindTemplates(word, found, exact);
    if (exact) {
        InsertCodeTemplate(buffer, *found.front(), onInsert);
        return;
    }
    const int chosen = choose ? choose(found) : -1;
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= found.size()) {
        buffer.SetSelectionKind(stNone);
        return;
    }
    InsertCodeTemplate(buffer, *found[static_cast<std::size_t>(chosen)], onInsert);
}

}  // namespace tarnwick
