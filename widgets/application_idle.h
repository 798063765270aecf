#pragma once
// The application's idle processing: work that waits until no input is pending, run a slice at
// a time. The host's idle call runs one round; between the host's calls, or without a host, a
// zero-timeout timer (which fires once the event queue is empty) runs further rounds while some
// task still has work. A task never holds the event loop for longer than its own slice.

#include <functional>
#include <vector>

namespace tarnwick {

class TApplicationIdle {
public:
    // A slice of work; answers whether more is left.
    using Task = std::function<bool()>;

    // Adds the owner's task, or replaces the one it has, and schedules a round.
    static void Post(const void* owner, Task task);
    // Drops the owner's task (an owner going away must call it).
    static void Cancel(const void* owner);
    // Runs every waiting task once, forgetting those that finished. True while work is left.
    static bool RunOnce();
    static bool HasWork();
};

}  // namespace tarnwick
