// The plain-C baselines every ratio of the report is taken against.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "bench/bench_steps.h"

namespace tarnwick::bench {

namespace {

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};
using Bytes = std::unique_ptr<char, FreeDeleter>;

// Reads the whole file into one newly allocated buffer of its size, page faults included.
Bytes ReadWholeFile(const std::string& path, size_t& size) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        throw std::runtime_error("Cannot read " + path);
    size = size_t(st.st_size);
    Bytes bytes(static_cast<char*>(std::malloc(size + 1)));
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, bytes.get() + done, size - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    ::close(fd);
    size = done;
    return bytes;
}

}  // namespace

void RunBaselines(BenchContext& ctx) {
    size_t size = 0;
    Bytes bytes;
    const double readMs = BestOfMs(3, [&] {
        bytes.reset();
        bytes = ReadWholeFile(ctx.file, size);
    });
    int64_t lines = 0;
    const double countMs = BestOfMs(3, [&] {
        lines = 0;
        const char* p = bytes.get();
        const char* end = p + size;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))) != nullptr) {
            ++lines;
            ++p;
        }
    });
    const std::string out = ctx.file + ".bench-write";
    const double writeMs = BestOfMs(3, [&] {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        size_t done = 0;
        while (fd >= 0 && done < size) {
            const ssize_t n = ::write(fd, bytes.get() + done, size - done);
            if (n <= 0)
                break;
            done += size_t(n);
        }
        if (fd >= 0)
            ::close(fd);
    });
    ::unlink(out.c_str());
    ctx.report.Set("bytes", int64_t(size));
    ctx.report.Set("lines", lines);
    ctx.report.Set("baseline.read_ms", readMs);
    ctx.report.Set("baseline.count_lines_ms", countMs);
    ctx.report.Set("baseline.write_ms", writeMs);
}

}  // namespace tarnwick::bench
