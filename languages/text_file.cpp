#include "languages/text_file.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace tarnwick {

std::string ReadTextFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::system_error(errno, std::generic_category(), "Cannot open " + path);
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad())
        throw std::system_error(EIO, std::generic_category(), "Cannot read " + path);
    return std::move(content).str();
}

// Writes beside the target and renames over it only once every byte is written, so a failed
// save leaves the old file as it was.
void WriteTextFile(const std::string& path, const std::string& bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "Cannot create a file beside " + path);
    struct stat existing {};
    ::fchmod(fd, ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    // The bytes reach the disk before the rename, so a crash cannot leave an empty file behind.
    const bool complete = written == bytes.size() && ::fsync(fd) == 0;
    const int writeErrno = errno;
    if (::close(fd) != 0 || !complete || std::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = complete ? errno : writeErrno;
        ::unlink(temp.c_str());
        throw std::system_error(err, std::generic_category(), "Cannot save " + path);
    }
}

bool IsExistingFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace tarnwick
