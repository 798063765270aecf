#pragma once

class IClient;

namespace tarnwick {

// The plug-in's one process-wide reference to the host client. It is not counted: the host
// keeps the client alive while the plug-in is loaded. Empty means every client call is skipped.
IClient* GlobalClient() noexcept;
void SetGlobalClient(IClient* client) noexcept;

}  // namespace tarnwick
