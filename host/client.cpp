#include "host/client.h"

namespace tarnwick {

namespace {
IClient*& Slot() noexcept {
    static IClient* client = nullptr;
    return client;
}
}  // namespace

IClient* GlobalClient() noexcept { return Slot(); }
void SetGlobalClient(IClient* client) noexcept { Slot() = client; }

}  // namespace tarnwick
