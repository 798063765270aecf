#include "widgets/application_idle.h"

#include <algorithm>
#include <vector>

#include <QPointer>
#include <QTimer>

namespace tarnwick {

namespace {

struct Entry {
    const QObject* owner;
    TApplicationIdle::Task task;
    QPointer<QTimer> timer;
};

// The process's one list of idle work, as the application object keeps it; user-interface
// thread only.
std::vector<Entry>& Entries() {
    static std::vector<Entry> entries;
    return entries;
}

std::vector<Entry>::iterator Find(const QObject* owner) {
    std::vector<Entry>& entries = Entries();
    return std::find_if(entries.begin(), entries.end(), [owner](const Entry& e) { return e.owner == owner; });
}

// A task may post or cancel tasks while it runs, its own included: it runs from a copy.
void RunTaskOf(const QObject* owner) {
    const auto it = Find(owner);
    if (it == Entries().end())
        return;
    const TApplicationIdle::Task task = it->task;
    if (!task())
        TApplicationIdle::Cancel(owner);
}

}  // namespace

void TApplicationIdle::Post(QObject* owner, Task task) {
    auto it = Find(owner);
    if (it == Entries().end()) {
        auto* timer = new QTimer(owner);
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, [owner] { RunTaskOf(owner); });
        Entries().push_back({owner, {}, timer});
        it = Entries().end() - 1;
    }
    it->task = std::move(task);
    if (it->timer != nullptr && !it->timer->isActive())
        it->timer->start();
}

void TApplicationIdle::Cancel(const QObject* owner) {
    const auto it = Find(owner);
    if (it == Entries().end())
        return;
    if (it->timer != nullptr) {
        it->timer->stop();
        it->timer->deleteLater();  // it may be the one whose timeout is running
    }
    Entries().erase(it);
}

bool TApplicationIdle::RunOnce() {
    std::vector<const QObject*> owners;
    for (const Entry& e : Entries())
        owners.push_back(e.owner);
    for (const QObject* owner : owners)
        RunTaskOf(owner);
    return HasWork();
}

bool TApplicationIdle::HasWork() { return !Entries().empty(); }

}  // namespace tarnwick
