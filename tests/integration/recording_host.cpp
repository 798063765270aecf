#include "tests/integration/recording_host.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "host/abi/document_interfaces.h"
#include "host/abi/interfaced_object.h"

int32_t RecordingUserInterface::QueryInterface(const TGUID& iid, void** out) {
    return QueryResult(OfferInterface<IClientUserInterface>(iid, out, this), out);
}

void RecordingHost::BroadcastNotification(INotification* note) {
    if (!note)
        return;
    notifications.push_back(note->GetCode());
    if (notify)
        notify->ReceiveNotification(note);
}

int32_t RecordingHost::QueryInterface(const TGUID& iid, void** out) {
    const bool found = OfferInterface<IClient>(iid, out, static_cast<IClient*>(this)) ||
                       OfferInterface<IProcessLauncher>(iid, out, static_cast<IProcessLauncher*>(this));
    return QueryResult(found, out);
}

IServerDocument* RecordingHost::OpenDocument(const char* kind, const char* path) {
    opened.push_back(std::string(kind) + "|" + path);
    return openSucceeds ? &document : nullptr;
}

int32_t RecordingHost::RunProcess(const char* process, char* params, int32_t capacity, IServerView* context) {
    processes.push_back({process, params ? params : "", capacity, context});
    return kTrue;
}

TServerFactoryFunction* PluginFactory() {
    static TServerFactoryFunction* factory = [] {
        // The plug-in makes its preferences folder under XDG_CONFIG_HOME: never the user's own.
        static char folder[] = "/tmp/tarnwick-plugin-config-XXXXXX";
        if (!::mkdtemp(folder) || ::setenv("XDG_CONFIG_HOME", folder, 1) != 0) {
            std::perror("cannot make a configuration folder for the plug-in");
            std::abort();
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        void* library = ::dlopen(TARNWICK_BIN_DIR "/libtarnwick.so", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            std::fprintf(stderr, "cannot load the plug-in: %s\n", ::dlerror());
            std::abort();
        }
        return reinterpret_cast<TServerFactoryFunction*>(::dlsym(library, "ServerFactory"));
    }();
    return factory;
}
