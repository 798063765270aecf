// What the recording host exports by name, as harbinet does: its client and a disk-backed
// existence check.

#include <sys/stat.h>

#include "tests/integration/recording_host.h"

RecordingHost& TheRecordingHost() {
    static RecordingHost host;
    return host;
}

extern "C" __attribute__((visibility("default"))) IClient* ClientAPI_GetClientInterface() {
    return &TheRecordingHost();
}

extern "C" __attribute__((visibility("default"))) int32_t VFSAPI_VFS_FileExists(const char* path) {
    struct stat info {};
    return path && ::stat(path, &info) == 0 && S_ISREG(info.st_mode) ? 1 : 0;
}
