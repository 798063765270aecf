#pragma once
// The functions harbinet exports by name for its plug-ins to bind at load.

#include <cstdint>

class IClient;

namespace harbinet {

class THostClient;

// The client ClientAPI_GetClientInterface hands out; set once at start-up.
void SetExportedClient(THostClient* client) noexcept;

}  // namespace harbinet

// C functions of the program's global scope, bound by name.

extern "C" {
__attribute__((visibility("default"))) IClient* ClientAPI_GetClientInterface();
__attribute__((visibility("default"))) void ClientAPI_ExtractFileDirFromPath(const char* path, char* result);
__attribute__((visibility("default"))) void ClientAPI_ExtractFileNameFromPath(const char* path, char* result);
__attribute__((visibility("default"))) void ClientAPI_ForceFileNameExtension(const char* path,
                                                                             const char* extension,
                                                                             char* result);
}

extern "C" {
__attribute__((visibility("default"))) int32_t VFSAPI_VFS_StreamCreate(const char* path, int32_t mode);
__attribute__((visibility("default"))) void VFSAPI_VFS_StreamDestroy(int32_t handle);
__attribute__((visibility("default"))) int32_t VFSAPI_VFS_StreamClose(int32_t handle);
__attribute__((visibility("default"))) int32_t VFSAPI_VFS_StreamRead(int32_t handle, void* buffer,
                                                                     int32_t count);
__attribute__((visibility("default"))) int32_t VFSAPI_VFS_StreamWrite(int32_t handle, const void* buffer,
                                                                      int32_t count);
__attribute__((visibility("default"))) int64_t VFSAPI_VFS_StreamSeek(int32_t handle, int64_t offset,
                                                                     int32_t origin);
__attribute__((visibility("default"))) void VFSAPI_VFS_StreamSetSize(int32_t handle, int64_t size);
__attribute__((visibility("default"))) int32_t VFSAPI_VFS_FileExists(const char* path);
__attribute__((visibility("default"))) void VFSAPI_VFS_ExtractFileExt(const char* path, char* result);
__attribute__((visibility("default"))) void VFSAPI_VFS_GetFileEditorName(const char* path, char* result);
__attribute__((visibility("default"))) void VFSAPI_VFS_ChangeFileName(const char* path, const char* name,
                                                                      char* result);
}
