#pragma once
// The signatures of the functions the host program exports by name and the plug-ins bind at
// load. harbinet checks its definitions against these types, so the two sides cannot drift.

#include <cstddef>
#include <cstdint>

class IClient;

extern "C" {
using TClientGetClientInterface = IClient*();
using TClientExtractFromPath = void(const char* path, char* result);
using TClientForceFileNameExtension = void(const char* path, const char* extension, char* result);

using TVfsStreamCreate = int32_t(const char* path, int32_t mode);
using TVfsStreamDestroy = void(int32_t handle);
// Harbinet's own addition: finishes a stream as StreamDestroy does and answers -1 when every
// byte written reached the file (flush and rename at the end included), 0 when the stream
// failed and the file was left as it was. A read stream answers -1. The handle is gone after.
using TVfsStreamClose = int32_t(int32_t handle);
using TVfsStreamRead = int32_t(int32_t handle, void* buffer, int32_t count);
using TVfsStreamWrite = int32_t(int32_t handle, const void* buffer, int32_t count);
using TVfsStreamSeek = int64_t(int32_t handle, int64_t offset, int32_t origin);
using TVfsStreamSetSize = void(int32_t handle, int64_t size);
using TVfsFileExists = int32_t(const char* path);
using TVfsPathQuery = void(const char* path, char* result);
using TVfsChangeFileName = void(const char* path, const char* name, char* result);
}

// Result buffers of the path functions hold this many bytes.
constexpr std::size_t kHostPathCapacity = 4096;

// Stream modes of VFSAPI_VFS_StreamCreate.
constexpr int32_t kStreamOpenRead = 0;
constexpr int32_t kStreamCreateWrite = 0xFFFF;
