#pragma once
// A help ID file: lines «key=value», keys compared ignoring case. A value is a decimal help
// context, or «anything,Server:Name», which sends the lookup to another server's help file.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "host/abi/ascii_text.h"

namespace tarnwick {

struct THelpIdEntry {
    int context = 0;       // 0 when the value is no number
    std::string redirect;  // the name after the first comma; empty for a plain context
};

class THelpIdFile {
public:
    // A missing or unreadable file gives an empty list.
    static THelpIdFile Read(const std::string& path);
    static THelpIdFile Parse(std::string_view text);

    [[nodiscard]] const THelpIdEntry* Find(std::string_view key) const;
    [[nodiscard]] std::size_t Size() const noexcept { return entries_.size(); }

private:
    std::map<std::string, THelpIdEntry, ascii::LessIgnoringCase> entries_;
};

// The ID file beside a help file: the same path with the extension ".id".
std::string HelpIdFileFor(const std::string& helpFile);

}  // namespace tarnwick
