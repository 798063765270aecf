#include "hostapp/host_exports.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "host/host_functions.h"
#include "hostapp/host_client.h"

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

void SetExportedClient(THostClient* client) noexcept { ExportedClient() = client; }

extern "C" IClient* ClientAPI_GetClientInterface() { return ExportedClient(); }

extern "C" void ClientAPI_ExtractFileDirFromPath(const char* path, char* result) {
    WritePathResult(DirectoryPart(Text(path)), result);
}

extern "C" void ClientAPI_ExtractFileNameFromPath(const char* path, char* result) {
    WritePathResult(FileNamePart(Text(path)), result);
}

extern "C" void ClientAPI_ForceFileNameExtension(const char* path, const char* extension,
                                                 char* result) {
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
