#include "hostapp/disk_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

#include "host/abi/ascii_text.h"
#include "host/abi/host_function_types.h"

namespace harbinet {

struct TDiskFileSystem::TStream {
    int fd = -1;
    bool writing = false;
    bool failed = false;
    std::string target;       // the file the stream stands for, as it was named
    std::string destination;  // what a write stream replaces: target with its links followed
    std::string temporary;    // where a write stream really writes, beside destination
    std::string failure;
    TDiskStamp stamp;  // a read stream: the file it opened
};

namespace {

// The mode a new file gets under the process's umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string ErrorText(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

// The file that writing through path must replace: path itself, or, when path is a symbolic
// link, the file at the end of its chain of links (which need not exist yet). Renaming over
// the link instead would turn it into a plain file. Empty when the chain does not end.
std::string FollowLinks(std::string path) {
    constexpr int kMaxLinks = 40;  // the kernel's own limit for one lookup
    for (int links = 0; links < kMaxLinks; ++links) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0)
            return path;
        target.resize(std::size_t(length));
        const auto slash = path.find_last_of('/');
        if (target.front() != '/' && slash != std::string::npos)
            target = path.substr(0, slash + 1) + target;
        path = std::move(target);
    }
    return {};
}

}  // namespace

TDiskFileSystem& TDiskFileSystem::Instance() {
    static TDiskFileSystem fileSystem;
    return fileSystem;
}

TDiskFileSystem::TStream* TDiskFileSystem::Find(int32_t handle) {
    const auto it = streams_.find(handle);
    return it == streams_.end() ? nullptr : it->second.get();
}

int32_t TDiskFileSystem::StreamCreate(const std::string& path, int32_t mode) {
    auto stream = std::make_unique<TStream>();
    stream->target = path;
    if (mode == kStreamOpenRead) {
        stream->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        stream->stamp = DiskStampOfDescriptor(stream->fd);
    } else if (mode == kStreamCreateWrite) {
        failures_.erase(path);
        stream->writing = true;
        stream->destination = FollowLinks(path);
        if (stream->destination.empty()) {
            failures_[path] = ErrorText("Cannot save", path, ELOOP);
            return 0;
        }
        stream->temporary = stream->destination + ".XXXXXX";
        stream->fd = ::mkstemp(stream->temporary.data());
        if (stream->fd < 0)
            failures_[path] = ErrorText("Cannot create a temporary file beside", stream->destination, errno);
    }
    if (stream->fd < 0)
        return 0;
    const int32_t handle = nextHandle_++;
    streams_[handle] = std::move(stream);
    return handle;
}

int32_t TDiskFileSystem::StreamRead(int32_t handle, void* buffer, int32_t count) {
    TStream* s = Find(handle);
    if (!s || !buffer || count < 0)
        return -1;
    int32_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(s->fd, static_cast<char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            s->failed = true;  // what was read is no longer known to be the whole file
        if (n <= 0)
            return n < 0 && done == 0 ? -1 : done;
        done += static_cast<int32_t>(n);
    }
    return done;
}

int32_t TDiskFileSystem::StreamWrite(int32_t handle, const void* buffer, int32_t count) {
    TStream* s = Find(handle);
    if (!s || !buffer || count < 0)
        return -1;
    if (failNthWrite_ > 0 && --failNthWrite_ == 0) {
        s->failed = true;
        s->failure = ErrorText("Cannot write", s->target, ENOSPC);
        return 0;
    }
    int32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(s->fd, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            s->failed = true;
            s->failure = ErrorText("Cannot write", s->target, n < 0 ? errno : ENOSPC);
            break;
        }
        done += static_cast<int32_t>(n);
    }
    return done;
}

int64_t TDiskFileSystem::StreamSeek(int32_t handle, int64_t offset, int32_t origin) {
    TStream* s = Find(handle);
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (!s || origin < 0 || origin > 2)
        return -1;
    return ::lseek(s->fd, offset, kWhence[origin]);
}

void TDiskFileSystem::StreamSetSize(int32_t handle, int64_t size) {
    TStream* s = Find(handle);
    if (s && size >= 0 && ::ftruncate(s->fd, size) != 0 && s->writing) {
        s->failed = true;
        s->failure = ErrorText("Cannot set the size of", s->target, errno);
    }
}

bool TDiskFileSystem::StreamClose(int32_t handle) {
    const auto it = streams_.find(handle);
    if (it == streams_.end())
        return false;
    std::unique_ptr<TStream> s = std::move(it->second);
    streams_.erase(it);
    if (s->writing)
        return Commit(*s);
    ::close(s->fd);
    if (!s->failed)
        Remember(s->target, s->stamp);
    return true;
}

// The new file takes the old one's permissions, reaches the disk, then replaces it.
bool TDiskFileSystem::Commit(TStream& s) {
    const TCommitStep injected = std::exchange(failCommitAt_, TCommitStep::None);
    struct stat old {};
    ::fchmod(s.fd, ::stat(s.destination.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode());
    if (!s.failed && (injected == TCommitStep::Flush || ::fsync(s.fd) != 0)) {
        s.failed = true;
        s.failure = ErrorText("Cannot write", s.target, injected == TCommitStep::Flush ? EIO : errno);
    }
    const TDiskStamp written = DiskStampOfDescriptor(s.fd);  // renaming keeps it
    if (::close(s.fd) != 0 && !s.failed) {
        s.failed = true;
        s.failure = ErrorText("Cannot write", s.target, errno);
    }
    if (!s.failed &&
        (injected == TCommitStep::Rename || ::rename(s.temporary.c_str(), s.destination.c_str()) != 0)) {
        s.failed = true;
        s.failure = ErrorText("Cannot replace", s.target, injected == TCommitStep::Rename ? EIO : errno);
    }
    if (s.failed) {
        ::unlink(s.temporary.c_str());
        failures_[s.target] = s.failure;
        return false;
    }
    Remember(s.target, written);
    return true;
}

void TDiskFileSystem::Remember(const std::string& path, const TDiskStamp& stamp) {
    knownStamps_[path] = stamp;
    if (knownStampListener_)
        knownStampListener_(path);
}

std::optional<TDiskStamp> TDiskFileSystem::KnownStamp(const std::string& path) const {
    const auto it = knownStamps_.find(path);
    return it == knownStamps_.end() ? std::nullopt : std::optional<TDiskStamp>(it->second);
}

bool TDiskFileSystem::TakeFailure(const std::string& path, std::string& message) {
    const auto it = failures_.find(path);
    if (it == failures_.end())
        return false;
    message = it->second;
    failures_.erase(it);
    return true;
}

std::string TDiskFileSystem::EditorKindOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return kTextEditorKind;
    const std::string_view ext = std::string_view(path).substr(dot + 1);
    for (const char* edif : {"edf", "edn", "edif", "edo"})
        if (ascii::EqualIgnoringCase(ext, edif))
            return kEdifEditorKind;
    return kTextEditorKind;
}

}  // namespace harbinet
