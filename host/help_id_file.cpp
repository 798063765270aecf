#include "host/help_id_file.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>

#include "host/abi/ascii_text.h"

namespace tarnwick {

namespace {

// Decimal text to a context; anything else, or a number out of range, is 0.
int ContextNumber(std::string_view text) noexcept {
    text = ascii::Trim(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return (error == std::errc() && end == text.data() + text.size()) ? value : 0;
}

}  // namespace

THelpIdFile THelpIdFile::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(text);
}

THelpIdFile THelpIdFile::Parse(std::string_view text) {
    THelpIdFile file;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = ascii::Trim(line.substr(0, equals));
        const std::string_view value = line.substr(equals + 1);
        THelpIdEntry entry;
        const auto comma = value.find(',');
        if (comma == std::string_view::npos)
            entry.context = ContextNumber(value);
        else
            entry.redirect = std::string(ascii::Trim(value.substr(comma + 1)));
        file.entries_.try_emplace(std::string(key), std::move(entry));
    }
    return file;
}

const THelpIdEntry* THelpIdFile::Find(std::string_view key) const {
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}

std::string HelpIdFileFor(const std::string& helpFile) {
    const auto slash = helpFile.find_last_of('/');
    const auto dot = helpFile.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? helpFile.substr(0, dot) : helpFile) + ".id";
}

}  // namespace tarnwick
