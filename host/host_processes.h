#pragma once
// Running a host process ("Server:Process") through the process-wide client.

#include <cstdint>

class IServerView;

namespace tarnwick {

// The process's answer, or false when there is no client or it launches no processes. params
// may be null with capacity 0; the process may rewrite it within capacity.
bool RunHostProcess(const char* process, char* params, int32_t capacity, IServerView* context);

}  // namespace tarnwick
