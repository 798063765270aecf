#pragma once
// What a file looks like from outside: enough to tell that someone rewrote, replaced or
// deleted it since this program read or wrote it, without reading it again.

#include <cstdint>
#include <string>

namespace harbinet {

struct TDiskStamp {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;  // a file renamed over the old one has another inode
    int64_t size = 0;
    int64_t modifiedNs = 0;

    friend bool operator==(const TDiskStamp&, const TDiskStamp&) = default;
};

// The stamp of the file at path, symbolic links followed; exists is false when there is none.
TDiskStamp DiskStampOf(const std::string& path);
// The stamp of the file an open descriptor refers to.
TDiskStamp DiskStampOfDescriptor(int fd);

}  // namespace harbinet
