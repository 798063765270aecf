#include "widgets/application_idle.h"

#include <algorithm>

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace tarnwick {

namespace {

struct Entry {
    const void* owner;
    TApplicationIdle::Task task;
};

// The process's one list of idle work, as the application object keeps it; user-interface
// thread only.
std::vector<Entry>& Entries() {
    static std::vector<Entry> entries;
    return entries;
}

// Owned by the application object, so it goes before the toolkit does.
QTimer* RoundTimer() {
    static QPointer<QTimer> timer;
    if (timer == nullptr && QCoreApplication::instance() != nullptr) {
        timer = new QTimer(QCoreApplication::instance());
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, [] {
            if (!TApplicationIdle::RunOnce())
                timer->stop();
        });
    }
    return timer;
}

void ScheduleRound() {
    if (QTimer* timer = RoundTimer(); timer != nullptr && !timer->isActive())
        timer->start();
}

}  // namespace

void TApplicationIdle::Post(const void* owner, Task task) {
    std::vector<Entry>& entries = Entries();
    const auto it = std::find_if(entries.begin(), entries.end(), [owner](const Entry& e) { return e.owner == owner; });
    if (it != entries.end())
        it->task = std::move(task);
    else
        entries.push_back({owner, std::move(task)});
    ScheduleRound();
}

void TApplicationIdle::Cancel(const void* owner) {
    std::vector<Entry>& entries = Entries();
    std::erase_if(entries, [owner](const Entry& e) { return e.owner == owner; });
}

bool TApplicationIdle::RunOnce() {
    // A task may post or cancel tasks while it runs: walk a snapshot of the owners, and look
    // each one up again before running it.
    std::vector<const void*> owners;
    for (const Entry& e : Entries())
        owners.push_back(e.owner);
    for (const void* owner : owners) {
        std::vector<Entry>& entries = Entries();
        const auto it = std::find_if(entries.begin(), entries.end(), [owner](const Entry& e) { return e.owner == owner; });
        if (it == entries.end())
            continue;
        const Task task = it->task;  // the task may replace itself
        if (!task())
            Cancel(owner);
    }
    return HasWork();
}

bool TApplicationIdle::HasWork() { return !Entries().empty(); }

}  // namespace tarnwick
