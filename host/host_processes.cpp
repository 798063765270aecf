#include "host/host_processes.h"

#include "host/abi/client_interfaces.h"
#include "host/abi/com_ptr.h"
#include "host/client.h"

namespace tarnwick {

bool RunHostProcess(const char* process, char* params, int32_t capacity, IServerView* context) {
    IClient* client = GlobalClient();
    if (!client)
        return false;
    const auto launcher = TComPtr<IClient>::Share(client).As<IProcessLauncher>();
    return launcher && launcher->RunProcess(process, params, capacity, context) != 0;
}

}  // namespace tarnwick
