#pragma once
// A host program's folder of its own for one test: a fresh temporary folder with an empty
// System/Languages/, and the host's path functions bound to fakes that name it as the folder of
// the running program. The functions are unbound again afterwards.

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "host/host_functions.h"
#include "languages/language_manager.h"

namespace tarnwick {

class THostLanguagesFolder {
public:
    static constexpr const char* kLanguages = "System/Languages/";

    THostLanguagesFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-languages-XXXXXX").string();
        folder_ = std::string(::mkdtemp(pattern.data())) + "/";
        std::filesystem::create_directories(folder_ + kLanguages);
        HostFolderSlot() = folder_;
        BindHostFunctions([](const char* name) -> void* {
            if (std::strcmp(name, "ClientAPI_ExtractFileDirFromPath") == 0)
                return reinterpret_cast<void*>(&FakeExtractFileDir);
            if (std::strcmp(name, "ClientAPI_ExtractFileNameFromPath") == 0)
                return reinterpret_cast<void*>(&FakeExtractFileName);
            if (std::strcmp(name, "ClientAPI_ForceFileNameExtension") == 0)
                return reinterpret_cast<void*>(&FakeForceExtension);
            return nullptr;
        });
    }
    ~THostLanguagesFolder() {
        UnbindHostFunctions();
        HostFolderSlot().clear();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    THostLanguagesFolder(const THostLanguagesFolder&) = delete;
    THostLanguagesFolder& operator=(const THostLanguagesFolder&) = delete;

    // The path of a file in the languages folder.
    [[nodiscard]] std::string Path(std::string_view name) const {
        return folder_ + kLanguages + std::string(name);
    }
    void Write(std::string_view name, std::string_view bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    [[nodiscard]] std::string Read(std::string_view name) const {
        std::ostringstream bytes;
        bytes << std::ifstream(Path(name), std::ios::binary).rdbuf();
        return bytes.str();
    }
    [[nodiscard]] bool Exists(std::string_view name) const { return std::filesystem::exists(Path(name)); }

    // A manager set up as the editor window sets it up.
    static void SetUp(TLanguageManager& manager) {
        manager.SyntaxDirectory = kLanguages;
        manager.TemplateDirectory = kLanguages;
        manager.SyntaxFileExtension = "syn";
        manager.TemplateFileExtension = "tpl";
        manager.IniFileName = "Languages.ini";
    }

private:
    static std::string& HostFolderSlot() {
        static std::string folder;
        return folder;
    }
    static void Answer(std::string_view text, char* result) {
        const std::size_t n = std::min(text.size(), kHostPathCapacity - 1);
        std::memcpy(result, text.data(), n);
        result[n] = '\0';
    }
    static void FakeExtractFileDir(const char*, char* result) { Answer(HostFolderSlot(), result); }
    static void FakeExtractFileName(const char* path, char* result) {
        const std::string_view p(path);
        const auto slash = p.find_last_of('/');
        Answer(slash == std::string_view::npos ? p : p.substr(slash + 1), result);
    }
    static void FakeForceExtension(const char* path, const char* extension, char* result) {
        std::string forced(path);
        const auto slash = forced.find_last_of('/');
        const auto dot = forced.find_last_of('.');
        if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
            forced.erase(dot);
        if (*extension != '\0')
            forced.append(".").append(extension);
        Answer(forced, result);
    }

    std::string folder_;
};

}  // namespace tarnwick
