#pragma once
// The functions the host program exports by name. The plug-in binds them once at load; a
// function the host does not export stays unbound and every call through it does nothing and
// answers empty, 0, -1 or false as its wrapper states.

#include <functional>
#include <string>

#include "host/abi/host_function_types.h"

namespace tarnwick {

struct THostFunctions {
    TClientGetClientInterface* GetClientInterface = nullptr;
    TClientExtractFromPath* ExtractFileDirFromPath = nullptr;
    TClientExtractFromPath* ExtractFileNameFromPath = nullptr;
    TClientForceFileNameExtension* ForceFileNameExtension = nullptr;

    TVfsStreamCreate* StreamCreate = nullptr;
    TVfsStreamDestroy* StreamDestroy = nullptr;
    TVfsStreamClose* StreamClose = nullptr;
    TVfsStreamRead* StreamRead = nullptr;
    TVfsStreamWrite* StreamWrite = nullptr;
    TVfsStreamSeek* StreamSeek = nullptr;
    TVfsStreamSetSize* StreamSetSize = nullptr;
    TVfsFileExists* FileExists = nullptr;
    TVfsPathQuery* ExtractFileExt = nullptr;
    TVfsPathQuery* GetFileEditorName = nullptr;
    TVfsChangeFileName* ChangeFileName = nullptr;
};

// Looks one exported name up; nullptr when absent.
using TSymbolLookup = std::function<void*(const char* name)>;

// The process-wide table. Bind fills it from lookup (entries the host lacks stay empty);
// Unbind empties it when the plug-in unloads.
const THostFunctions& HostFunctions() noexcept;
void BindHostFunctions(const TSymbolLookup& lookup) noexcept;
void UnbindHostFunctions() noexcept;
// Binds from the process's main executable, as the plug-in does at load.
void BindHostFunctionsFromMainProgram() noexcept;

// Call sites. Each does nothing and answers as stated when its function is unbound.
namespace HostApi {
std::string ExtractFileDirFromPath(const std::string& path);   // "" when unbound
std::string ExtractFileNameFromPath(const std::string& path);  // "" when unbound
std::string ForceFileNameExtension(const std::string& path, const std::string& extension);
bool FileExists(const std::string& path);                // false when unbound
std::string ExtractFileExt(const std::string& path);     // "" when unbound
std::string GetFileEditorName(const std::string& path);  // "" when unbound
std::string ChangeFileName(const std::string& path, const std::string& name);
}  // namespace HostApi

}  // namespace tarnwick
