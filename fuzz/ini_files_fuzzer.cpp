// INI files as the shared preferences file and the language list are read: the INI text itself
// (it must give back every byte it read, and a write must read back), then the same bytes as
// the preferences file through its typed readers and the preferences record.
// Input: section, NUL, key, NUL, value, NUL, the file.
#include <cstdlib>
#include <string>

#include "editor/preferences_file.h"
#include "editor/text_editor_preferences.h"
#include "fuzz/fuzz_folder.h"
#include "fuzz/fuzz_input.h"
#include "widgets/ini_file.h"

namespace {

using namespace tarnwick;
using fuzz::TFuzzFolder;
using fuzz::TFuzzInput;

std::string_view SingleLine(std::string_view text) {
    return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Names that a written line gives back exactly: trimmed already, and not read as anything else.
bool IsPlainName(std::string_view name, std::string_view forbidden) {
    return name == TrimBlanks(name) && name.find_first_of(forbidden) == std::string_view::npos &&
           (name.empty() || name.front() != '[');
}

void CheckIni(std::string_view bytes, std::string_view section, std::string_view key,
              std::string_view value) {
    TIniFile ini = TIniFile::Parse(bytes);
    FUZZ_REQUIRE(ini.Text() == bytes);
    (void)ini.ReadString(section, key);
    (void)ini.SectionEntries(section);

    ini.WriteString(section, key, value);
    const std::string_view writtenSection = SingleLine(section);
    const std::string_view writtenKey = SingleLine(key);
    if (IsPlainName(writtenSection, "]") && IsPlainName(writtenKey, "=")) {
        const auto read = ini.ReadString(writtenSection, writtenKey);
        FUZZ_REQUIRE(read && *read == TrimBlanks(SingleLine(value)));
    }
    TIniFile::Parse(ini.Text());
    ini.EraseSection(section);
    FUZZ_REQUIRE(!ini.SectionExists(section));
}

// The preferences file is read by path from the configuration folder set once.
const std::string& PreferencesPath() {
    static const TFuzzFolder folder;
    static const std::string path = [] {
        ::setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
        FUZZ_REQUIRE(SetPreferencesFileName().IsOk());
        return PreferencesFileName();
    }();
    return path;
}

void CheckPreferences(std::string_view bytes, std::string_view section, std::string_view key) {
    TFuzzFolder::WriteFile(PreferencesPath(), bytes);
    TPreferencesFile file;
    FUZZ_REQUIRE(file.LoadResult().IsOk());
    FUZZ_REQUIRE(file.ReadIniString(section, key, "").size() <= kIniStringLength);
    (void)file.ReadIniInteger(section, key, 7);
    (void)file.ReadIniByte(section, key, 7);
    (void)file.ReadIniBoolean(section, key, true);
    (void)file.ReadIniFloat(section, key, 1.5);

    // The record read from any file, once written (which rounds its numbers to what the file
    // holds), writes and reads back to itself.
    TTextEditorPreferences read;
    FUZZ_REQUIRE(read.Read().IsOk());
    FUZZ_REQUIRE(read.Write().IsOk());
    TTextEditorPreferences written;
    FUZZ_REQUIRE(written.Read().IsOk());
    FUZZ_REQUIRE(written.Write().IsOk());
    TTextEditorPreferences again;
    FUZZ_REQUIRE(again.Read().IsOk());
    FUZZ_REQUIRE(again == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TFuzzInput input(data, size);
    const std::string_view section = input.Until('\0');
    const std::string_view key = input.Until('\0');
    const std::string_view value = input.Until('\0');
    const std::string_view bytes = input.Rest();
    CheckIni(bytes, section, key, value);
    CheckPreferences(bytes, section, key);
    return 0;
}
