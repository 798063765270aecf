#include "widgets/ini_file.h"

#include "host/abi/ascii_text.h"

namespace tarnwick {

namespace {

// Section and key names compare ignoring ASCII case; blanks around names and values are spaces
// and tabs.
std::string_view TrimBlanks(std::string_view text) noexcept { return ascii::Trim(text, ascii::IsSpaceOrTab); }

// "[name]" with blanks around; a header without "]" names the rest of its line.
std::optional<std::string_view> SectionName(std::string_view line) noexcept {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    const std::string_view inside = trimmed.substr(1);
    return TrimBlanks(inside.substr(0, inside.find(']')));
}

struct TKeyLine {
    std::string_view Key;
    std::string_view Value;
};

// "key=value": the first "=" separates them, both trimmed. Headers are never key lines.
std::optional<TKeyLine> KeyLine(std::string_view line) noexcept {
    if (SectionName(line))
        return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return TKeyLine{TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1))};
}

// What is written must stay on one line, or it would add keys or sections of its own.
std::string_view SingleLine(std::string_view text) noexcept {
    return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
}

}  // namespace

TIniFile TIniFile::Parse(std::string_view bytes) {
    TIniFile file;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            file.lines_.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        const std::size_t endingLength = crlf ? 2 : 1;
        file.lines_.push_back(
            {std::string(bytes.substr(start, end - start)), std::string(bytes.substr(end, endingLength))});
        start = end + endingLength;
    }
    return file;
}

std::string TIniFile::Text() const {
    std::string text;
    for (const TLine& line : lines_)
        text.append(line.Text).append(line.Ending);
    return text;
}

std::size_t TIniFile::FindKey(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = SectionName(lines_[i].Text)) {
            inSection = ascii::EqualIgnoringCase(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto keyLine = KeyLine(lines_[i].Text);
            keyLine && ascii::EqualIgnoringCase(keyLine->Key, key))
            return i;
    }
    return std::string::npos;
}

std::optional<std::string> TIniFile::ReadString(std::string_view section, std::string_view key) const {
    const std::size_t index = FindKey(section, key);
    if (index == std::string::npos)
        return std::nullopt;
    return std::string(KeyLine(lines_[index].Text)->Value);
}

bool TIniFile::SectionExists(std::string_view section) const {
    bool inSection = false;
    for (const TLine& line : lines_) {
        if (const auto name = SectionName(line.Text))
            inSection = ascii::EqualIgnoringCase(*name, section);
        else if (inSection && KeyLine(line.Text))
            return true;
    }
    return false;
}

std::vector<TIniFile::TEntry> TIniFile::SectionEntries(std::string_view section) const {
    std::vector<TEntry> entries;
    bool inSection = false;
    for (const TLine& line : lines_) {
        if (const auto name = SectionName(line.Text))
            inSection = ascii::EqualIgnoringCase(*name, section);
        else if (const auto keyLine = inSection ? KeyLine(line.Text) : std::nullopt)
            entries.push_back({std::string(keyLine->Key), std::string(keyLine->Value)});
    }
    return entries;
}

void TIniFile::EraseSection(std::string_view section) {
    bool inSection = false;
    std::erase_if(lines_, [&](const TLine& line) {
        if (const auto name = SectionName(line.Text))
            inSection = ascii::EqualIgnoringCase(*name, section);
        return inSection;
    });
}

std::size_t TIniFile::FindInsertionPoint(std::string_view section) const {
    const auto isHeaderOfSection = [section](const TLine& line) {
        const auto name = SectionName(line.Text);
        return name && ascii::EqualIgnoringCase(*name, section);
    };
    std::size_t i = 0;
    while (i < lines_.size() && !isHeaderOfSection(lines_[i]))
        ++i;
    if (i == lines_.size())
        return std::string::npos;
    std::size_t lastInSection = i;
    for (++i; i < lines_.size() && !SectionName(lines_[i].Text); ++i)
        if (KeyLine(lines_[i].Text))
            lastInSection = i;
    return lastInSection;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    section = SingleLine(section);
    key = SingleLine(key);
    std::string line = std::string(key) + "=" + std::string(SingleLine(value));

    if (const std::size_t index = FindKey(section, key); index != std::string::npos) {
        lines_[index].Text = std::move(line);
        return;
    }
    if (const std::size_t after = FindInsertionPoint(section); after != std::string::npos) {
        InsertLine(after + 1, std::move(line));
        return;
    }
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), std::move(line));
}

void TIniFile::InsertLine(std::size_t index, std::string text) {
    const std::string ending = NewLineEnding();
    if (index > 0 && lines_[index - 1].Ending.empty())
        lines_[index - 1].Ending = ending;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), TLine{std::move(text), ending});
}

// New lines follow the file's own convention, so a CR LF file stays CR LF.
std::string TIniFile::NewLineEnding() const {
    for (const TLine& line : lines_)
        if (!line.Ending.empty())
            return line.Ending;
    return "\n";
}

}  // namespace tarnwick
