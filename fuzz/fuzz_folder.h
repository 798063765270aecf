#pragma once
// A temporary folder for the whole fuzzing process, for the readers that take files by path.
// It is removed at exit; every input rewrites the files it needs.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tarnwick::fuzz {

class TFuzzFolder {
public:
    TFuzzFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern + "/";
    }
    ~TFuzzFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TFuzzFolder(const TFuzzFolder&) = delete;
    TFuzzFolder& operator=(const TFuzzFolder&) = delete;

    // The folder, ending with "/".
    [[nodiscard]] const std::string& Path() const noexcept { return path_; }
    // Writes bytes to a file of the folder (sub-folders made as needed); returns its path.
    std::string Write(const std::string& name, std::string_view bytes) const {
        const std::string file = path_ + name;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        WriteFile(file, bytes);
        return file;
    }
    static void WriteFile(const std::string& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), std::streamsize(bytes.size()));
    }

private:
    std::string path_;
};

}  // namespace tarnwick::fuzz
