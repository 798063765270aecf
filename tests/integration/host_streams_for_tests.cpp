// The VFSAPI_* stream functions a test host exports by name, over harbinet's disk
// file system, and the path function that resolves a name beside a document.

#include "tests/integration/host_streams_for_tests.h"

#include <cstring>

#include "host/abi/host_function_types.h"
#include "hostapp/disk_file_system.h"

namespace {
harbinet::TDiskFileSystem& Disk() { return harbinet::TDiskFileSystem::Instance(); }
}  // namespace

TestStreamFaults& StreamFaults() {
    static TestStreamFaults faults;
    return faults;
}

#define TEST_HOST_EXPORT extern "C" __attribute__((visibility("default")))

TEST_HOST_EXPORT int32_t VFSAPI_VFS_StreamCreate(const char* path, int32_t mode) {
    if (!path || (mode == kStreamOpenRead && StreamFaults().refuseOpen == path))
        return 0;
    return Disk().StreamCreate(path, mode);
}

TEST_HOST_EXPORT void VFSAPI_VFS_StreamDestroy(int32_t handle) { Disk().StreamDestroy(handle); }

TEST_HOST_EXPORT int32_t VFSAPI_VFS_StreamClose(int32_t handle) {
    return Disk().StreamClose(handle) ? -1 : 0;
}

TEST_HOST_EXPORT int32_t VFSAPI_VFS_StreamRead(int32_t handle, void* buffer, int32_t count) {
    return StreamFaults().failReads ? -1 : Disk().StreamRead(handle, buffer, count);
}

TEST_HOST_EXPORT int32_t VFSAPI_VFS_StreamWrite(int32_t handle, const void* buffer, int32_t count) {
    return Disk().StreamWrite(handle, buffer, count);
}

TEST_HOST_EXPORT int64_t VFSAPI_VFS_StreamSeek(int32_t handle, int64_t offset, int32_t origin) {
    return Disk().StreamSeek(handle, offset, origin);
}

TEST_HOST_EXPORT void VFSAPI_VFS_StreamSetSize(int32_t handle, int64_t size) {
    Disk().StreamSetSize(handle, size);
}

// The result buffer holds length(path) + length(name) + 1 bytes.
TEST_HOST_EXPORT void VFSAPI_VFS_ChangeFileName(const char* path, const char* name, char* result) {
    const std::string p = path ? path : "";
    const std::string changed = p.substr(0, p.find_last_of('/') + 1) + (name ? name : "");
    std::memcpy(result, changed.c_str(), changed.size() + 1);
}
