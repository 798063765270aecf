#include "hostapp/disk_watcher.h"

#include <QFile>
#include <utility>

#include "hostapp/disk_file_system.h"

namespace harbinet {

namespace {

constexpr int kSettleMs = 100;

QString WatchName(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string PathOf(const QString& watchName) { return QFile::encodeName(watchName).toStdString(); }

}  // namespace

TDiskWatcher::TDiskWatcher(TDiskFileSystem& fileSystem, TListener listener)
    : fileSystem_(fileSystem), listener_(std::move(listener)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    QObject::connect(&settle_, &QTimer::timeout, &watcher_, [this] { CheckPending(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_,
                     [this](const QString& name) { CheckSoon(PathOf(name)); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_,
                     [this](const QString& name) {
                         const std::string folder = PathOf(name);
                         for (const auto& [path, reported] : reported_)
                             if (FolderOf(path) == folder)
                                 CheckSoon(path);
                     });
    // Our own reads and writes (a save, a reload from any menu) settle a changed file.
    fileSystem_.SetKnownStampListener([this](const std::string& path) {
        if (reported_.count(path))
            CheckSoon(path);
    });
}

TDiskWatcher::~TDiskWatcher() { fileSystem_.SetKnownStampListener({}); }

void TDiskWatcher::Watch(const std::string& path) {
    if (reported_.count(path))
        return;
    reported_[path] = {KnownStamp(path), TState::Unchanged};
    Check(path);
}

void TDiskWatcher::Unwatch(const std::string& path) {
    if (!reported_.erase(path))
        return;
    pending_.erase(path);
    watcher_.removePath(WatchName(path));
    WatchFolderWhileMissing(FolderOf(path));
}

TDiskStamp TDiskWatcher::KnownStamp(const std::string& path) const {
    return fileSystem_.KnownStamp(path).value_or(TDiskStamp{});  // never read: a new file
}

TDiskWatcher::TState TDiskWatcher::StateOf(const std::string& path) const {
    if (!reported_.count(path))
        return TState::Unchanged;
    const TDiskStamp now = DiskStampOf(path);
    if (now == KnownStamp(path))
        return TState::Unchanged;
    return now.exists ? TState::Changed : TState::Deleted;
}

// Reports a file that changed again since the last report (even to the same state: someone
// who kept their text hears of the next change too), and a file whose state changed because
// this program read or wrote it.
void TDiskWatcher::Check(const std::string& path) {
    const auto it = reported_.find(path);
    if (it == reported_.end())
        return;
    const TDiskStamp now = DiskStampOf(path);
    const TReport before = std::exchange(it->second, {now, StateOf(path)});
    // A watch follows the file it was set on, not the name: rebind it to whatever file the
    // name stands for now.
    const QString name = WatchName(path);
    const bool sameFile = now.device == before.disk.device && now.inode == before.disk.inode;
    if (now.exists && (!sameFile || !watcher_.files().contains(name))) {
        if (watcher_.files().contains(name))
            watcher_.removePath(name);
        watcher_.addPath(name);
    }
    WatchFolderWhileMissing(FolderOf(path));
    if (now != before.disk || it->second.state != before.state)
        listener_(path, it->second.state);
}

void TDiskWatcher::CheckAll() {
    std::set<std::string> paths;
    for (const auto& [path, reported] : reported_)
        paths.insert(path);
    for (const std::string& path : paths)  // a listener may close documents
        Check(path);
}

void TDiskWatcher::CheckSoon(const std::string& path) {
    pending_.insert(path);
    settle_.start();
}

void TDiskWatcher::CheckPending() {
    const std::set<std::string> paths = std::exchange(pending_, {});
    for (const std::string& path : paths)
        Check(path);
}

void TDiskWatcher::WatchFolderWhileMissing(const std::string& folder) {
    bool missing = false;
    for (const auto& [path, reported] : reported_)
        missing = missing || (FolderOf(path) == folder && !reported.disk.exists);
    const QString name = WatchName(folder);
    const bool watched = watcher_.directories().contains(name);
    if (missing && !watched && DiskStampOf(folder).exists)
        watcher_.addPath(name);
    else if (!missing && watched)
        watcher_.removePath(name);
}

std::string TDiskWatcher::FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace harbinet
