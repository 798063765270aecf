#pragma once
// The functions harbinet exports by name for its plug-ins to bind at load.

#include <cstdint>

class IClient;
class THostClient;

// The client ClientAPI_GetClientInterface hands out; set once at start-up.
void SetExportedClient(THostClient* client) noexcept;

extern "C" {
__attribute__((visibility("default"))) IClient* ClientAPI_GetClientInterface();
__attribute__((visibility("default"))) void ClientAPI_ExtractFileDirFromPath(const char* path,
                                                                             char* result);
__attribute__((visibility("default"))) void ClientAPI_ExtractFileNameFromPath(const char* path,
                                                                              char* result);
__attribute__((visibility("default"))) void ClientAPI_ForceFileNameExtension(const char* path,
                                                                             const char* extension,
                                                                             char* result);
}
