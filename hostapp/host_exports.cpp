#include "hostapp/host_exports.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "host/abi/host_function_types.h"
#include "hostapp/disk_file_system.h"
#include "hostapp/host_client.h"

namespace harbinet {

namespace {

THostClient*& ExportedClient() noexcept {
    static THostClient* client = nullptr;
    return client;
}

// Writes text into a path result buffer of the host's fixed size, cut to fit.
void WritePathResult(std::string_view text, char* result) noexcept {
    if (!result)
        return;
    const std::size_t n = std::min(text.size(), kHostPathCapacity - 1);
    std::memcpy(result, text.data(), n);
    result[n] = '\0';
}

std::string_view Text(const char* s) noexcept { return s ? std::string_view(s) : std::string_view(); }

// Folder part with its trailing separator, as the plug-ins expect to append to it.
std::string_view DirectoryPart(std::string_view path) noexcept {
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string_view FileNamePart(std::string_view path) noexcept {
    return path.substr(DirectoryPart(path).size());
}

}  // namespace

// Each exported definition has exactly the type the plug-ins bind it as.
static_assert(std::is_same_v<decltype(ClientAPI_GetClientInterface), TClientGetClientInterface>);
static_assert(std::is_same_v<decltype(ClientAPI_ExtractFileDirFromPath), TClientExtractFromPath>);
static_assert(std::is_same_v<decltype(ClientAPI_ExtractFileNameFromPath), TClientExtractFromPath>);
static_assert(std::is_same_v<decltype(ClientAPI_ForceFileNameExtension), TClientForceFileNameExtension>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_StreamCreate), TVfsStreamCreate>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_StreamDestroy), TVfsStreamDestroy>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_StreamClose), TVfsStreamClose>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_StreamRead), TVfsStreamRead>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_StreamWrite), TVfsStreamWrite>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_StreamSeek), TVfsStreamSeek>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_StreamSetSize), TVfsStreamSetSize>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_FileExists), TVfsFileExists>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_ExtractFileExt), TVfsPathQuery>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_GetFileEditorName), TVfsPathQuery>);
static_assert(std::is_same_v<decltype(VFSAPI_VFS_ChangeFileName), TVfsChangeFileName>);

void SetExportedClient(THostClient* client) noexcept { ExportedClient() = client; }

}  // namespace harbinet

// The exported functions live in the global scope, as C functions do, over harbinet's helpers.
using namespace harbinet;

extern "C" IClient* ClientAPI_GetClientInterface() { return ExportedClient(); }

extern "C" void ClientAPI_ExtractFileDirFromPath(const char* path, char* result) {
    WritePathResult(DirectoryPart(Text(path)), result);
}

extern "C" void ClientAPI_ExtractFileNameFromPath(const char* path, char* result) {
    WritePathResult(FileNamePart(Text(path)), result);
}

extern "C" void ClientAPI_ForceFileNameExtension(const char* path, const char* extension, char* result) {
    const std::string_view full = Text(path);
    const std::string_view name = FileNamePart(full);
    const auto dot = name.find_last_of('.');
    std::string forced(full.substr(0, full.size() - (dot == std::string_view::npos ? 0 : name.size() - dot)));
    std::string_view ext = Text(extension);
    if (!ext.empty() && ext.front() != '.')
        forced += '.';
    forced += ext;
    WritePathResult(forced, result);
}

extern "C" int32_t VFSAPI_VFS_StreamCreate(const char* path, int32_t mode) {
    return path ? TDiskFileSystem::Instance().StreamCreate(path, mode) : 0;
}

extern "C" void VFSAPI_VFS_StreamDestroy(int32_t handle) {
    TDiskFileSystem::Instance().StreamDestroy(handle);
}

extern "C" int32_t VFSAPI_VFS_StreamClose(int32_t handle) {
    return TDiskFileSystem::Instance().StreamClose(handle) ? -1 : 0;
}

extern "C" int32_t VFSAPI_VFS_StreamRead(int32_t handle, void* buffer, int32_t count) {
    return TDiskFileSystem::Instance().StreamRead(handle, buffer, count);
}

extern "C" int32_t VFSAPI_VFS_StreamWrite(int32_t handle, const void* buffer, int32_t count) {
    return TDiskFileSystem::Instance().StreamWrite(handle, buffer, count);
}

extern "C" int64_t VFSAPI_VFS_StreamSeek(int32_t handle, int64_t offset, int32_t origin) {
    return TDiskFileSystem::Instance().StreamSeek(handle, offset, origin);
}

extern "C" void VFSAPI_VFS_StreamSetSize(int32_t handle, int64_t size) {
    TDiskFileSystem::Instance().StreamSetSize(handle, size);
}

extern "C" int32_t VFSAPI_VFS_FileExists(const char* path) {
    struct stat info {};
    return path && ::stat(path, &info) == 0 && S_ISREG(info.st_mode) ? 1 : 0;
}

extern "C" void VFSAPI_VFS_ExtractFileExt(const char* path, char* result) {
    const std::string_view name = FileNamePart(Text(path));
    const auto dot = name.find_last_of('.');
    WritePathResult(dot == std::string_view::npos ? std::string_view() : name.substr(dot), result);
}

extern "C" void VFSAPI_VFS_GetFileEditorName(const char* path, char* result) {
    WritePathResult(TDiskFileSystem::EditorKindOf(std::string(Text(path))), result);
}

// The result buffer holds length(path) + length(name) + 1 bytes, which always fits.
extern "C" void VFSAPI_VFS_ChangeFileName(const char* path, const char* name, char* result) {
    if (!result)
        return;
    const std::string changed = std::string(DirectoryPart(Text(path))) + std::string(Text(name));
    std::memcpy(result, changed.c_str(), changed.size() + 1);
}
