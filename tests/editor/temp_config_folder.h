#pragma once
// Points XDG_CONFIG_HOME at a fresh temporary folder for one test, sets the preferences file
// name under it and starts GlobalPreferences from the built-in defaults. HOME is restored
// afterwards, for tests that change it.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "editor/preferences_file.h"
#include "editor/text_editor_preferences.h"

namespace tarnwick {

class TTempConfigFolder {
public:
    TTempConfigFolder() {
        if (const char* home = std::getenv("HOME"))
            home_ = home;
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-config-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
        SetPreferencesFileName();
        GlobalPreferences.Assign(TTextEditorPreferences{});
    }
    ~TTempConfigFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        ::unsetenv("XDG_CONFIG_HOME");
        if (home_)
            ::setenv("HOME", home_->c_str(), 1);
    }
    TTempConfigFolder(const TTempConfigFolder&) = delete;
    TTempConfigFolder& operator=(const TTempConfigFolder&) = delete;

    [[nodiscard]] const std::string& Folder() const { return folder_; }

    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadFile(const std::string& path) {
        std::ostringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }

private:
    std::string folder_;
    std::optional<std::string> home_;
};

}  // namespace tarnwick
