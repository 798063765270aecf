#include "editor/preferences_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "host/abi/ascii_text.h"

namespace tarnwick {

namespace {

std::string& PreferencesFileNameSlot() {
    static std::string name;
    return name;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

std::string ErrnoText(int error) { return std::strerror(error); }

int DigitValue(char c, int base) noexcept {
    int digit = 99;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

// Hexadecimal takes all 32 bits ($80000008 is a system colour); decimal stops at the int32 range.
int32_t ParseIniInteger(std::string_view text) noexcept {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos)
        return 0;
    const auto at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
    const bool negative = at(i) == '-';
    if (at(i) == '-' || at(i) == '+')
        ++i;
    int base = 10;
    if (at(i) == '$' || at(i) == 'x' || at(i) == 'X') {
        base = 16;
        i += 1;
    } else if (at(i) == '0' && (at(i + 1) == 'x' || at(i + 1) == 'X')) {
        base = 16;
        i += 2;
    }
    const uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 2147483648u : 2147483647u);
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        const uint64_t next = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (digit < 0 || next > limit)
            break;
        value = next;
    }
    const auto bits = static_cast<uint32_t>(negative ? 0u - value : value);
    return static_cast<int32_t>(bits);
}

std::optional<double> ParseIniFloat(std::string_view text) noexcept {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool ContainsTrueInAnyCase(std::string_view text) noexcept {
    constexpr std::string_view kTrue = "TRUE";
    for (std::size_t i = 0; i + kTrue.size() <= text.size(); ++i)
        if (ascii::EqualIgnoringCase(text.substr(i, kTrue.size()), kTrue))
            return true;
    return false;
}

// The file's bytes; a missing file (or one under a missing folder) is an empty one.
TFileResult ReadWholeFile(const std::string& path, std::string& bytes) {
    if (path.empty())
        return TFileResult::Ok();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR)
            return TFileResult::Ok();
        return TFileResult::Failed("Cannot read " + path + ": " + ErrnoText(errno));
    }
    char chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, count);
    const int error = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (error != 0) {
        bytes.clear();
        return TFileResult::Failed("Cannot read " + path + ": " + ErrnoText(error));
    }
    return TFileResult::Ok();
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// A symbolic link stays a link: the file it points to is the one replaced.
std::string WriteTarget(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

TFileResult SaveAtomically(const std::string& path, const std::string& bytes) {
    const std::string target = WriteTarget(path);
    struct stat existing {};
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;

    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return TFileResult::Failed("Cannot write " + path + ": " + ErrnoText(errno));
    const auto lastError = [] { return errno != 0 ? errno : EIO; };
    int error = 0;
    errno = 0;
    if (!WriteAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        error = lastError();
    if (::close(fd) != 0 && error == 0)
        error = lastError();
    if (error == 0 && std::rename(temp.c_str(), target.c_str()) != 0)
        error = lastError();
    if (error != 0) {
        ::unlink(temp.c_str());
        return TFileResult::Failed("Cannot write " + path + ": " + ErrnoText(error));
    }
    return TFileResult::Ok();
}

}  // namespace

std::string ApplicationDataFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return config;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : (std::filesystem::path(home) / ".config").string();
}

const std::string& PreferencesFileName() { return PreferencesFileNameSlot(); }

TFileResult SetPreferencesFileName() {
    const std::string base = ApplicationDataFolder();
    if (base.empty()) {
        PreferencesFileNameSlot().clear();
        return TFileResult::Failed(
            "Cannot find the user's application-data folder: neither "
            "XDG_CONFIG_HOME nor a home folder is set");
    }
    const std::filesystem::path folder = std::filesystem::path(base) / "Vesmar";
    PreferencesFileNameSlot() = (folder / "TextEditMarlowe.INI").string();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && !std::filesystem::is_directory(folder, error))
        error = std::make_error_code(std::errc::not_a_directory);
    if (error)
        return TFileResult::Failed("Cannot create the preferences folder " + folder.string() + ": " +
                                   error.message());
    return TFileResult::Ok();
}

TPreferencesFile::TPreferencesFile() : TPreferencesFile(PreferencesFileName()) {}

TPreferencesFile::TPreferencesFile(std::string path) : path_(std::move(path)) {
    std::string bytes;
    loadResult_ = ReadWholeFile(path_, bytes);
    ini_ = TIniFile::Parse(bytes);
}

bool TPreferencesFile::SectionExists(std::string_view section) const { return ini_.SectionExists(section); }

std::string TPreferencesFile::ReadIniString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue) const {
    std::string text = ini_.ReadString(section, key).value_or(std::string(defaultValue));
    text.resize(std::min({text.size(), text.find('\0'), kIniStringLength}));
    return text;
}

// The typed readers share one rule: a missing key and an empty value both give the default.
template <class T, class Convert>
T TPreferencesFile::ReadConverted(std::string_view section, std::string_view key, T defaultValue,
                                  Convert convert) const {
    const std::string text = ReadIniString(section, key, "");
    return text.empty() ? defaultValue : convert(text);
}

int32_t TPreferencesFile::ReadIniInteger(std::string_view section, std::string_view key,
                                         int32_t defaultValue) const {
    return ReadConverted(section, key, defaultValue, ParseIniInteger);
}

uint8_t TPreferencesFile::ReadIniByte(std::string_view section, std::string_view key,
                                      uint8_t defaultValue) const {
    return static_cast<uint8_t>(ReadIniInteger(section, key, defaultValue));
}

bool TPreferencesFile::ReadIniBoolean(std::string_view section, std::string_view key,
                                      bool defaultValue) const {
    return ReadConverted(section, key, defaultValue, ContainsTrueInAnyCase);
}

double TPreferencesFile::ReadIniFloat(std::string_view section, std::string_view key,
                                      double defaultValue) const {
    return ReadConverted(section, key, defaultValue, [defaultValue](std::string_view text) {
        return ParseIniFloat(text).value_or(defaultValue);
    });
}

void TPreferencesFile::WriteIniString(std::string_view section, std::string_view key,
                                      std::string_view value) {
    ini_.WriteString(section, key, value);
}

void TPreferencesFile::WriteIniInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteIniString(section, key, std::to_string(value));
}

void TPreferencesFile::WriteIniByte(std::string_view section, std::string_view key, uint8_t value) {
    WriteIniInteger(section, key, value);
}

void TPreferencesFile::WriteIniBoolean(std::string_view section, std::string_view key, bool value) {
    WriteIniString(section, key, value ? "True" : "False");
}

// Two decimals whatever the process locale, so every reader finds "." as the decimal point.
void TPreferencesFile::WriteIniFloat(std::string_view section, std::string_view key, double value) {
    char text[400];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    WriteIniString(section, key, error == std::errc() ? std::string_view(text, end - text) : "0.00");
}

TFileResult TPreferencesFile::Save() const {
    if (path_.empty())
        return TFileResult::Failed("Cannot write the preferences: the file has no name");
    if (!loadResult_.IsOk())
        return TFileResult::Failed(loadResult_.Message() + "; it was not written over");
    return SaveAtomically(path_, ini_.Text());
}

}  // namespace tarnwick
