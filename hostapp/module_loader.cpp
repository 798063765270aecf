#include "hostapp/module_loader.h"

#include <dlfcn.h>

#include "host/abi/parameter_list.h"

namespace harbinet {

std::string TLoadedModule::Name() const {
    const char* name = module ? module->GetModuleName() : nullptr;
    return name ? name : "";
}

TModuleLoader::~TModuleLoader() {
    for (auto it = modules_.rbegin(); it != modules_.rend(); ++it) {
        it->module.Reset();
        if (it->library)
            ::dlclose(it->library);
    }
}

bool TModuleLoader::Load(const std::string& path, IClient* client, std::string& error) {
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = ::dlerror();
        error = "Cannot load " + path + ": " + (why ? why : "unknown error");
        return false;
    }
    auto* factory = reinterpret_cast<TServerFactoryFunction*>(::dlsym(library, "ServerFactory"));
    if (!factory) {
        error = path + " does not export ServerFactory";
        ::dlclose(library);
        return false;
    }
    IServerModule* raw = nullptr;
    factory(&raw, client);
    if (!raw) {
        error = path + " gave no server module";
        ::dlclose(library);
        return false;
    }
    modules_.push_back({path, library, TComPtr<IServerModule>::Adopt(raw)});
    return true;
}

void TModuleLoader::Adopt(TComPtr<IServerModule> module) {
    if (module)
        modules_.push_back({"", nullptr, std::move(module)});
}

const TLoadedModule* TModuleLoader::Find(const std::string& name) const {
    for (const TLoadedModule& m : modules_)
        if (SameParameterName(m.Name(), name))
            return &m;
    return nullptr;
}

}  // namespace harbinet
