// The plug-in's entry: host functions are bound when the library is loaded, and the host asks
// for the module through the one exported function.

#include "editor/tarnwick_module.h"
#include "host/client.h"
#include "host/host_functions.h"

namespace tarnwick {

namespace {

__attribute__((constructor)) void BindHostOnLoad() {
    BindHostFunctionsFromMainProgram();
    if (auto* getClient = HostFunctions().GetClientInterface)
        SetGlobalClient(getClient());
}

__attribute__((destructor)) void UnbindHostOnUnload() {
    UnbindHostFunctions();
    SetGlobalClient(nullptr);
}

}  // namespace

}  // namespace tarnwick

extern "C" __attribute__((visibility("default"))) void ServerFactory(IServerModule** module,
                                                                     IClient* client) {
    if (!module)
        return;
    *module = nullptr;
    try {
        auto created = TComPtr<IServerModule>::Share(new tarnwick::TTarnwickModule(client));
        *module = created.Detach();
    } catch (...) {
        *module = nullptr;
    }
}
