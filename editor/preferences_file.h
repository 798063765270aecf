#pragma once
// The text editors' shared preferences file and its typed readers and writers. Every text
// editor of the host reads and writes the same file, so a write keeps every line it does not
// change, and a file that could not be read is never written over.

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/file_result.h"
#include "widgets/ini_file.h"

namespace tarnwick {

// Texts read from the file are cut to this many bytes.
constexpr std::size_t kIniStringLength = 255;

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; empty when there is no home.
std::string ApplicationDataFolder();

// The process-wide path of the preferences file; empty until SetPreferencesFileName ran.
const std::string& PreferencesFileName();
// Sets PreferencesFileName to <application data>/Vesmar/TextEditMarlowe.INI and creates the
// folder when it is missing. The name is set even when the folder cannot be made, so that a
// later write reports the problem again instead of writing somewhere else.
TFileResult SetPreferencesFileName();

// One reading of the file, changed in memory and written back whole by Save. A missing file
// reads as a file without keys.
class TPreferencesFile {
public:
    TPreferencesFile();  // PreferencesFileName
    explicit TPreferencesFile(std::string path);

    // Ok, or why an existing file could not be read; its keys then all read as missing.
    [[nodiscard]] const TFileResult& LoadResult() const noexcept { return loadResult_; }
    [[nodiscard]] bool SectionExists(std::string_view section) const;

    // The stored text cut to 255 bytes (and at a NUL), or the default when the key is missing.
    [[nodiscard]] std::string ReadIniString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue) const;
    // Empty text gives the default. Otherwise leading blanks, an optional sign, then decimal,
    // or hexadecimal after "$", "x" or "0x"; the first invalid character (or one that would
    // overflow 32 bits) ends the number, and what was read so far is the value.
    [[nodiscard]] int32_t ReadIniInteger(std::string_view section, std::string_view key,
                                         int32_t defaultValue) const;
    [[nodiscard]] uint8_t ReadIniByte(std::string_view section, std::string_view key,
                                      uint8_t defaultValue) const;
    // Empty text gives the default; otherwise true exactly when the text contains "TRUE" in
    // any case, so "untrue" is true and "yes" is false.
    [[nodiscard]] bool ReadIniBoolean(std::string_view section, std::string_view key,
                                      bool defaultValue) const;
    // Empty text, or text that is not a finite number with "." as decimal point, gives the default.
    [[nodiscard]] double ReadIniFloat(std::string_view section, std::string_view key,
                                      double defaultValue) const;

    void WriteIniString(std::string_view section, std::string_view key, std::string_view value);
    void WriteIniInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteIniByte(std::string_view section, std::string_view key, uint8_t value);
    void WriteIniBoolean(std::string_view section, std::string_view key, bool value);  // True/False
    void WriteIniFloat(std::string_view section, std::string_view key, double value);  // 1.50

    // Writes the whole file through a temporary file beside it, so a failure leaves the old
    // file as it was. Refuses when the file existed but could not be read.
    [[nodiscard]] TFileResult Save() const;

private:
    template <class T, class Convert>
    T ReadConverted(std::string_view section, std::string_view key, T defaultValue, Convert convert) const;

    std::string path_;
    TIniFile ini_;
    TFileResult loadResult_;
};

}  // namespace tarnwick
