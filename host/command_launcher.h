#pragma once
// The named processes of a server module. Names are found ignoring case; the first
// registration of a name wins.

#include <functional>
#include <map>
#include <string>

#include "host/abi/ascii_text.h"
#include "host/abi/interfaced_object.h"
#include "host/abi/server_interfaces.h"

namespace tarnwick {

struct TCommandHandler {
    // Runs the process with the context view and the parameter buffer (and its capacity,
    // so that a reply never overruns it).
    using TRunHandler = std::function<int32_t(IServerView* context, char* params, int32_t capacity)>;
    using TStatusHandler = std::function<void(IServerView* context, char* params, int32_t* a, int32_t* b,
                                              int32_t* c, uint8_t* d, uint8_t* e)>;
    TRunHandler RunHandler;
    TStatusHandler StatusHandler;  // may be empty
};

class TCommandLauncher final : public TInterfacedObjectNoRef, public ICommandLauncher {
public:
    void RegisterCommand(const std::string& name, TCommandHandler::TRunHandler run,
                         TCommandHandler::TStatusHandler status = {});

    int32_t QueryInterface(const TGUID& iid, void** out) override;
    int32_t AddRef() override { return AddReference(); }
    int32_t Release() override { return ReleaseReference(); }
    int32_t LaunchCommand(const char* name, char* params, int32_t capacity, IServerView* context) override;
    void GetCommandState(const char* name, char* params, IServerView* context, int32_t* a, int32_t* b,
                         int32_t* c, uint8_t* d, uint8_t* e) override;

private:
    const TCommandHandler* Find(const char* name) const;

    std::map<std::string, TCommandHandler, ascii::LessIgnoringCase> handlers_;
};

}  // namespace tarnwick
