#include "host/host_functions.h"

#include <dlfcn.h>

#include <vector>

namespace tarnwick {

namespace {

THostFunctions& Table() noexcept {
    static THostFunctions table;
    return table;
}

template <class F>
void Bind(const TSymbolLookup& lookup, const char* name, F*& slot) noexcept {
    slot = reinterpret_cast<F*>(lookup(name));
}

// Runs a path query into a result buffer of the host's size and returns what it wrote,
// never reading past the buffer even if the host forgot the terminator.
template <class Call>
std::string QueryIntoBuffer(std::size_t capacity, Call&& call) {
    std::vector<char> result(capacity + 1, '\0');
    call(result.data());
    result[capacity] = '\0';
    return std::string(result.data());
}

// Calls a host path function that writes its answer into a result buffer; "" when unbound.
template <class F, class... Args>
std::string PathQuery(F* function, std::size_t capacity, const Args&... args) {
    if (!function)
        return {};
    return QueryIntoBuffer(capacity, [&](char* result) { function(args.c_str()..., result); });
}

}  // namespace

const THostFunctions& HostFunctions() noexcept { return Table(); }

void BindHostFunctions(const TSymbolLookup& lookup) noexcept {
    THostFunctions& t = Table();
    t = THostFunctions{};
    if (!lookup)
        return;
    Bind(lookup, "ClientAPI_GetClientInterface", t.GetClientInterface);
    Bind(lookup, "ClientAPI_ExtractFileDirFromPath", t.ExtractFileDirFromPath);
    Bind(lookup, "ClientAPI_ExtractFileNameFromPath", t.ExtractFileNameFromPath);
    Bind(lookup, "ClientAPI_ForceFileNameExtension", t.ForceFileNameExtension);
    Bind(lookup, "VFSAPI_VFS_StreamCreate", t.StreamCreate);
    Bind(lookup, "VFSAPI_VFS_StreamDestroy", t.StreamDestroy);
    Bind(lookup, "VFSAPI_VFS_StreamClose", t.StreamClose);
    Bind(lookup, "VFSAPI_VFS_StreamRead", t.StreamRead);
    Bind(lookup, "VFSAPI_VFS_StreamWrite", t.StreamWrite);
    Bind(lookup, "VFSAPI_VFS_StreamSeek", t.StreamSeek);
    Bind(lookup, "VFSAPI_VFS_StreamSetSize", t.StreamSetSize);
    Bind(lookup, "VFSAPI_VFS_FileExists", t.FileExists);
    Bind(lookup, "VFSAPI_VFS_ExtractFileExt", t.ExtractFileExt);
    Bind(lookup, "VFSAPI_VFS_GetFileEditorName", t.GetFileEditorName);
    Bind(lookup, "VFSAPI_VFS_ChangeFileName", t.ChangeFileName);
}

void UnbindHostFunctions() noexcept { Table() = THostFunctions{}; }

void BindHostFunctionsFromMainProgram() noexcept {
    void* mainProgram = ::dlopen(nullptr, RTLD_NOW);
    if (!mainProgram) {
        UnbindHostFunctions();
        return;
    }
    BindHostFunctions([mainProgram](const char* name) { return ::dlsym(mainProgram, name); });
    ::dlclose(mainProgram);
}

namespace HostApi {

std::string ExtractFileDirFromPath(const std::string& path) {
    return PathQuery(HostFunctions().ExtractFileDirFromPath, kHostPathCapacity, path);
}

std::string ExtractFileNameFromPath(const std::string& path) {
    return PathQuery(HostFunctions().ExtractFileNameFromPath, kHostPathCapacity, path);
}

std::string ForceFileNameExtension(const std::string& path, const std::string& extension) {
    return PathQuery(HostFunctions().ForceFileNameExtension, kHostPathCapacity, path, extension);
}

bool FileExists(const std::string& path) {
    auto* f = HostFunctions().FileExists;
    return f && f(path.c_str()) != 0;
}

std::string ExtractFileExt(const std::string& path) {
    return PathQuery(HostFunctions().ExtractFileExt, kHostPathCapacity, path);
}

std::string GetFileEditorName(const std::string& path) {
    return PathQuery(HostFunctions().GetFileEditorName, kHostPathCapacity, path);
}

// The host writes the changed path into a buffer of both lengths and a terminator.
std::string ChangeFileName(const std::string& path, const std::string& name) {
    return PathQuery(HostFunctions().ChangeFileName, path.size() + name.size() + 1, path, name);
}

}  // namespace HostApi

}  // namespace tarnwick
