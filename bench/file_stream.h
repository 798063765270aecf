// The engine's byte stream over a POSIX file descriptor, for the benchmark.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "textengine/byte_stream.h"

namespace tarnwick::bench {

class FileStream final : public TByteStream {
public:
    enum Mode { kRead, kWrite };
    FileStream(const std::string& path, Mode mode)
        : fd_(mode == kRead ? ::open(path.c_str(), O_RDONLY)
                            : ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)) {
        if (fd_ < 0)
            throw std::runtime_error("Cannot open " + path);
        struct stat st {};
        if (mode == kRead && ::fstat(fd_, &st) == 0)
            remaining_ = st.st_size;
    }
    ~FileStream() { Close(); }
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override {
        const ssize_t got = ::read(fd_, buffer, size_t(count));
        if (got > 0 && remaining_ >= 0)
            remaining_ = remaining_ > got ? remaining_ - got : 0;
        return got;
    }
    int64_t Write(const void* buffer, int64_t count) override {
        int64_t done = 0;
        while (done < count) {
            const ssize_t n = ::write(fd_, static_cast<const char*>(buffer) + done, size_t(count - done));
            if (n <= 0)
                return done;
            done += n;
        }
        return done;
    }
    int64_t RemainingHint() const override { return remaining_; }
    void Close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
    int64_t remaining_ = -1;
};

}  // namespace tarnwick::bench
