#include "host/command_launcher.h"

#include <algorithm>

#include "host/abi/com_ptr.h"
#include "host/abi/document_interfaces.h"

namespace tarnwick {

void TCommandLauncher::RegisterCommand(const std::string& name, TCommandHandler::TRunHandler run,
                                       TCommandHandler::TStatusHandler status) {
    handlers_.try_emplace(name, TCommandHandler{std::move(run), std::move(status)});
}

const TCommandHandler* TCommandLauncher::Find(const char* name) const {
    if (!name)
        return nullptr;
    const auto it = handlers_.find(name);
    return it == handlers_.end() ? nullptr : &it->second;
}

int32_t TCommandLauncher::QueryInterface(const TGUID& iid, void** out) {
    return QueryResult(OfferInterface<ICommandLauncher>(iid, out, this, TAnswersUnknown::Yes), out);
}

int32_t TCommandLauncher::LaunchCommand(const char* name, char* params, int32_t capacity,
                                        IServerView* context) {
    const TCommandHandler* handler = Find(name);
    if (!handler || !handler->RunHandler)
        return 0;
    const TComPtr<IServerView> heldContext = TComPtr<IServerView>::Share(context);
    try {
        return handler->RunHandler(context, params, capacity);
    } catch (...) {
        return 0;  // nothing escapes across the boundary
    }
}

void TCommandLauncher::GetCommandState(const char* name, char* params, IServerView* context, int32_t* a,
                                       int32_t* b, int32_t* c, uint8_t* d, uint8_t* e) {
    if (a)
        *a = -1;
    if (b)
        *b = 0;
    if (c)
        *c = -1;
    if (d)
        *d = 0;
    if (e)
        *e = 0;
    const TCommandHandler* handler = Find(name);
    if (!handler || !handler->StatusHandler)
        return;
    try {
        handler->StatusHandler(context, params, a, b, c, d, e);
    } catch (...) {
    }
}

}  // namespace tarnwick
