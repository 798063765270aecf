#pragma once

#include <string>

namespace tarnwick {

// Whole-file access for the scheme and template files. Reading throws std::system_error when
// the file cannot be opened or read; writing goes to a temporary file beside the target that
// replaces it only once every byte is written, so a failed save leaves the old file intact.
[[nodiscard]] std::string ReadTextFile(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& bytes);
// True when path names an existing regular file (a folder is not one).
[[nodiscard]] bool IsExistingFile(const std::string& path);

}  // namespace tarnwick
