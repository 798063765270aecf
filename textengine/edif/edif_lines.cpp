#include "textengine/edif/edif_lines.h"

#include "textengine/custom_memo_source.h"

namespace tarnwick {

TEdifTextLines::TEdifTextLines(std::string text) : text_(std::move(text)) {
    starts_.push_back(0);
    for (size_t i = 0; i < text_.size(); ++i) {
        if (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n')
            ++i;
        if (text_[i] == '\n' || text_[i] == '\r')
            starts_.push_back(i + 1);
    }
    // A final line end ends the last line; it does not start an empty one.
    if (starts_.size() > 1 && starts_.back() == text_.size())
        starts_.pop_back();
}

std::string_view TEdifTextLines::Line(int32_t line, std::string&) const {
    if (line < 0 || size_t(line) >= starts_.size())
        return {};
    const size_t begin = starts_[size_t(line)];
    size_t end = size_t(line) + 1 < starts_.size() ? starts_[size_t(line) + 1] : text_.size();
    while (end > begin && (text_[end - 1] == '\n' || text_[end - 1] == '\r'))
        --end;
    // Only the line end itself is trimmed: a CR inside CR LF, or a lone LF/CR.
    return std::string_view(text_).substr(begin, end - begin);
}

bool StartsWithEdifForm(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; };
    size_t i = 0;
    while (i < text.size() && blank(text[i]))
        ++i;
    if (i >= text.size() || text[i] != '(')
        return false;
    ++i;
    while (i < text.size() && blank(text[i]))
        ++i;
    const std::string_view word = text.substr(i, 5);
    if (word.size() < 5)
        return false;
    for (size_t k = 0; k < 4; ++k)
        if ((word[k] | 0x20) != "edif"[k])
            return false;
    return blank(word[4]) || word[4] == '(' || word[4] == ')' || word[4] == '"';
}

int32_t TEdifBufferLines::LineCount() const { return source_.LineCount(); }

std::string_view TEdifBufferLines::Line(int32_t line, std::string&) const { return source_.StoredLine(line); }

}  // namespace tarnwick
