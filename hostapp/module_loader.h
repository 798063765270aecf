#pragma once
// Loads plug-in libraries and keeps their server modules for as long as harbinet runs.

#include <string>
#include <vector>

#include "host/abi/com_ptr.h"
#include "host/abi/server_interfaces.h"

namespace harbinet {

struct TLoadedModule {
    std::string path;  // the library file
    void* library = nullptr;
    TComPtr<IServerModule> module;
    [[nodiscard]] std::string Name() const;
};

class TModuleLoader {
public:
    TModuleLoader() = default;
    TModuleLoader(const TModuleLoader&) = delete;
    TModuleLoader& operator=(const TModuleLoader&) = delete;
    ~TModuleLoader();  // releases every module, then unloads its library

    // Loads the library and asks it for its module; on failure returns false with a message.
    bool Load(const std::string& path, IClient* client, std::string& error);
    // Adds a module that lives in this program (for doubles and built-in servers).
    void Adopt(TComPtr<IServerModule> module);

    [[nodiscard]] const std::vector<TLoadedModule>& Modules() const noexcept { return modules_; }
    // The module whose name matches ignoring ASCII case, or nullptr.
    [[nodiscard]] const TLoadedModule* Find(const std::string& name) const;

private:
    std::vector<TLoadedModule> modules_;
};

}  // namespace harbinet
