#include "hostapp/disk_stamp.h"

#include <sys/stat.h>

namespace harbinet {

namespace {

TDiskStamp StampOf(const struct stat& info) {
    TDiskStamp stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return stamp;
}

}  // namespace

TDiskStamp DiskStampOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? StampOf(info) : TDiskStamp{};
}

TDiskStamp DiskStampOfDescriptor(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? StampOf(info) : TDiskStamp{};
}

}  // namespace harbinet
