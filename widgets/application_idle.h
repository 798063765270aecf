#pragma once
// The application's idle processing: work that waits until no input is pending, run a slice at
// a time. The host's idle call runs one round over every waiting task; between the host's calls,
// or without a host, each task also has a zero-timeout timer of its own (it fires once the event
// queue is empty), a child of its owner, so it goes when the owner does. A task never holds the
// event loop for longer than its own slice.

#include <functional>

class QObject;

namespace tarnwick {

class TApplicationIdle {
public:
    // A slice of work; answers whether more is left.
    using Task = std::function<bool()>;

    // Adds the owner's task, or replaces the one it has, and starts its timer.
    static void Post(QObject* owner, Task task);
    // Drops the owner's task (an owner going away must call it).
    static void Cancel(const QObject* owner);
    // Runs every waiting task once, forgetting those that finished. True while work is left.
    static bool RunOnce();
    static bool HasWork();
};

}  // namespace tarnwick
