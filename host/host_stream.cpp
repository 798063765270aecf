#include "host/host_stream.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "host/host_functions.h"

namespace tarnwick {

namespace {

// The host's read and write take 32-bit counts; larger requests go in pieces.
constexpr int64_t kLargestPiece = std::numeric_limits<int32_t>::max();

template <class Transfer>
int64_t InPieces(int64_t count, Transfer&& transfer) {
    if (count <= 0)
        return transfer(0, 0);
    int64_t done = 0;
    while (done < count) {
        const int32_t piece = static_cast<int32_t>(std::min(count - done, kLargestPiece));
        const int32_t moved = transfer(done, piece);
        if (moved < 0)
            return done > 0 ? done : moved;
        done += moved;
        if (moved < piece)
            break;
    }
    return done;
}

}  // namespace

TVFS_Stream::TVFS_Stream(const char* path, int32_t mode) {
    if (auto* create = HostFunctions().StreamCreate)
        Handle = create(path ? path : "", mode);
}

TVFS_Stream::~TVFS_Stream() {
    if (Handle == 0)
        return;
    if (auto* destroy = HostFunctions().StreamDestroy)
        destroy(Handle);
}

bool TVFS_Stream::Close() {
    const int32_t handle = std::exchange(Handle, 0);
    if (handle == 0)
        return false;
    if (auto* close = HostFunctions().StreamClose)
        return close(handle) != 0;
    if (auto* destroy = HostFunctions().StreamDestroy)
        destroy(handle);
    return true;
}

int64_t TVFS_Stream::Read(void* buffer, int64_t count) {
    auto* read = HostFunctions().StreamRead;
    if (!read)
        return -1;
    auto* bytes = static_cast<char*>(buffer);
    return InPieces(count, [&](int64_t at, int32_t n) { return read(Handle, bytes + at, n); });
}

int64_t TVFS_Stream::Write(const void* buffer, int64_t count) {
    auto* write = HostFunctions().StreamWrite;
    if (!write)
        return -1;
    const auto* bytes = static_cast<const char*>(buffer);
    return InPieces(count, [&](int64_t at, int32_t n) { return write(Handle, bytes + at, n); });
}

int64_t TVFS_Stream::Seek(int64_t offset, int32_t origin) {
    auto* seek = HostFunctions().StreamSeek;
    return seek ? seek(Handle, offset, origin) : -1;
}

void TVFS_Stream::SetSize(int64_t size) {
    if (auto* setSize = HostFunctions().StreamSetSize)
        setSize(Handle, size);
}

int64_t TIStreamAdapter::Read(void* buffer, int64_t count) {
    auto* bytes = static_cast<char*>(buffer);
    return InPieces(count, [&](int64_t at, int32_t n) {
        uint32_t read = 0;
        stream_->Read(bytes + at, static_cast<uint32_t>(n), &read);
        return static_cast<int32_t>(read);
    });
}

int64_t TIStreamAdapter::Write(const void* buffer, int64_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    return InPieces(count, [&](int64_t at, int32_t n) {
        uint32_t written = 0;
        stream_->Write(bytes + at, static_cast<uint32_t>(n), &written);
        return static_cast<int32_t>(written);
    });
}

int64_t TIStreamAdapter::Seek(int64_t offset, int32_t origin) {
    if (origin < kSeekFromStart || origin > kSeekFromEnd)
        throw EHostStreamError("Unknown seek origin");
    uint64_t position = 0;
    if (stream_->Seek(offset, static_cast<uint32_t>(origin), &position) != S_OK_)
        stream_->Seek(0, kSeekFromCurrent, &position);
    return static_cast<int64_t>(position);
}

void TIStreamAdapter::SetSize(int64_t size) {
    if (size < 0 || stream_->SetSize(static_cast<uint64_t>(size)) != S_OK_)
        throw EHostStreamError("Error setting stream size");
}

}  // namespace tarnwick
