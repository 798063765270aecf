#pragma once
// The text of an INI file, read and changed the way the system's profile-string functions do:
// section and key names are trimmed and compared ignoring ASCII case, values are trimmed, the
// first match wins, and a change rewrites only the one line it touches. Every other byte of
// the file (comments, foreign sections, duplicate keys, odd line ends, binary bytes) is kept,
// because the file is shared with other editors that we know nothing about.
//
// Lines end at "\r\n", "\n" or a lone "\r"; each line keeps its own ending so that Text()
// gives back exactly what Parse() was given until something is written.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TIniFile {
public:
    struct TEntry {
        std::string Key;    // trimmed
        std::string Value;  // trimmed
    };

    static TIniFile Parse(std::string_view bytes);

    [[nodiscard]] std::string Text() const;

    // The trimmed value of the first key of that name in a section of that name, or nullopt.
    [[nodiscard]] std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
    // True when some section of that name holds at least one key.
    [[nodiscard]] bool SectionExists(std::string_view section) const;
    // Every key line of every section of that name, in file order, duplicates included.
    [[nodiscard]] std::vector<TEntry> SectionEntries(std::string_view section) const;

    // Replaces the first such key's line, or adds the key at the end of the first section of
    // that name, or appends the section. The value is cut at its first line break or NUL, so
    // it can never add lines of its own.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Removes every section of that name: its header and every line up to the next header.
    void EraseSection(std::string_view section);

private:
    struct TLine {
        std::string Text;    // without its ending
        std::string Ending;  // "\r\n", "\n", "\r", or "" for an unterminated last line
    };

    // Index of the first key line in a section of that name, or npos.
    [[nodiscard]] std::size_t FindKey(std::string_view section, std::string_view key) const;
    // Index of the line after which a new key of that section goes, or npos without a section.
    [[nodiscard]] std::size_t FindInsertionPoint(std::string_view section) const;
    void InsertLine(std::size_t index, std::string text);
    [[nodiscard]] std::string NewLineEnding() const;

    std::vector<TLine> lines_;
};

}  // namespace tarnwick
