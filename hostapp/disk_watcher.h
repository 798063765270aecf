#pragma once
// Watches the files of the open documents and tells when one is no longer what this program
// last read or wrote of it: rewritten, replaced or deleted by someone else.
//
// Editors and tools often save by renaming a new file over the old one, which ends the watch
// on the old file, so every check watches the path again; while a file is missing, its folder
// is watched so that its return is seen. Watches miss some changes (a link pointed elsewhere,
// a file system that sends no events), so the owner also calls CheckAll when the user comes
// back to the window. A change is reported once; the next report needs the next change.

#include <QFileSystemWatcher>
#include <QTimer>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "hostapp/disk_stamp.h"

namespace harbinet {

class TDiskFileSystem;

class TDiskWatcher {
public:
    enum class TState { Unchanged, Changed, Deleted };
    using TListener = std::function<void(const std::string& path, TState state)>;

    TDiskWatcher(TDiskFileSystem& fileSystem, TListener listener);
    ~TDiskWatcher();
    TDiskWatcher(const TDiskWatcher&) = delete;
    TDiskWatcher& operator=(const TDiskWatcher&) = delete;

    void Watch(const std::string& path);
    void Unwatch(const std::string& path);
    // A watched file against what this program last read or wrote of it; Unchanged for a path
    // that is not watched.
    [[nodiscard]] TState StateOf(const std::string& path) const;
    // Checks now and reports what changed since the last report.
    void Check(const std::string& path);
    void CheckAll();

private:
    [[nodiscard]] TDiskStamp KnownStamp(const std::string& path) const;
    void CheckSoon(const std::string& path);
    void CheckPending();
    void WatchFolderWhileMissing(const std::string& folder);
    static std::string FolderOf(const std::string& path);

    TDiskFileSystem& fileSystem_;
    TListener listener_;
    QFileSystemWatcher watcher_;
    QTimer settle_;  // a tool's save is several events; check once they have settled
    struct TReport {
        TDiskStamp disk;
        TState state = TState::Unchanged;
    };
    std::map<std::string, TReport> reported_;  // watched path -> what was last reported of it
    std::set<std::string> pending_;
};

}  // namespace harbinet
