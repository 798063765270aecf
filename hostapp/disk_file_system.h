#pragma once
// Harbinet's file system for plug-ins (the VFSAPI_* functions): plain disk files, streams
// by handle, and the editor-kind table.
//
// A stream created for writing writes a temporary file beside its target and renames it over
// the target only when it is closed after every write succeeded; a failed or short write, or
// a failed commit (flush or rename), leaves the original file exactly as it was, is answered
// by StreamClose and is recorded as the stream's failure. Through a symbolic link the stream
// writes the file the link points to, and the link stays.
//
// It also remembers, per path, the file as it was when this program last read it whole or
// wrote it (its disk stamp), so that the host can tell when someone else changed it since.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "hostapp/disk_stamp.h"

namespace harbinet {

struct TStreamFailure {
    std::string path;
    std::string message;
};

class TDiskFileSystem {
public:
    static TDiskFileSystem& Instance();

    int32_t StreamCreate(const std::string& path, int32_t mode);
    // Finishes the stream: a write stream commits. True when everything written reached the
    // file (a read stream: always); false for an unknown handle or a failed write stream.
    bool StreamClose(int32_t handle);
    void StreamDestroy(int32_t handle) { StreamClose(handle); }
    int32_t StreamRead(int32_t handle, void* buffer, int32_t count);
    int32_t StreamWrite(int32_t handle, const void* buffer, int32_t count);
    int64_t StreamSeek(int32_t handle, int64_t offset, int32_t origin);
    void StreamSetSize(int32_t handle, int64_t size);

    // The failure of the last write stream on path since it was created, if any; taken once.
    bool TakeFailure(const std::string& path, std::string& message);

    // The file at path as a read stream on it found it (one that read without an error) or
    // as a write stream left it, whichever came last; nullopt when neither happened yet.
    [[nodiscard]] std::optional<TDiskStamp> KnownStamp(const std::string& path) const;
    // Told the path whenever its known stamp changes; one listener, empty to stop.
    void SetKnownStampListener(std::function<void(const std::string& path)> listener) {
        knownStampListener_ = std::move(listener);
    }

    // Tests: the n-th write from now on fails as a full disk would (0 switches it off).
    void FailNthWrite(int n) { failNthWrite_ = n; }
    // Tests: the next commit fails at that step as an I/O error would.
    enum class TCommitStep { None, Flush, Rename };
    void FailNextCommitAt(TCommitStep step) { failCommitAt_ = step; }

    // The editor kind of a file: EDIF netlists by extension, every other file plain text.
    static std::string EditorKindOf(const std::string& path);

private:
    struct TStream;
    TStream* Find(int32_t handle);
    bool Commit(TStream& s);
    void Remember(const std::string& path, const TDiskStamp& stamp);

    std::map<int32_t, std::unique_ptr<TStream>> streams_;
    std::map<std::string, std::string> failures_;
    std::map<std::string, TDiskStamp> knownStamps_;
    std::function<void(const std::string&)> knownStampListener_;
    int32_t nextHandle_ = 1;
    int failNthWrite_ = 0;
    TCommitStep failCommitAt_ = TCommitStep::None;
};

// Editor kinds the host knows, and the server module that edits them.
constexpr const char* kEdifEditorKind = "EDIF";
constexpr const char* kTextEditorKind = "Text";
constexpr const char* kTextEditorServer = "Tarnwick";

}  // namespace harbinet
