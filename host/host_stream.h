#pragma once
// A byte stream with read, write, seek and set size, over whatever the host hands out.

#include <cstdint>
#include <stdexcept>

#include "host/abi/com_ptr.h"
#include "host/abi/stream_interfaces.h"

namespace tarnwick {

// Raised for requests a stream cannot carry out; the message says which.
class EHostStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr int32_t kSeekFromStart = 0, kSeekFromCurrent = 1, kSeekFromEnd = 2;

class THostStream {
public:
    virtual ~THostStream() = default;
    virtual int64_t Read(void* buffer, int64_t count) = 0;         // bytes read, -1 on failure
    virtual int64_t Write(const void* buffer, int64_t count) = 0;  // bytes written, -1 on failure
    virtual int64_t Seek(int64_t offset, int32_t origin) = 0;      // new position, -1 on failure
    virtual void SetSize(int64_t size) = 0;
};

// A stream over a host stream handle. It never raises: a refused open leaves Handle 0, and
// missing host functions answer -1 (read, write, seek) or do nothing.
//
// A write stream may fail only when it is finished (the host flushes and renames then), so a
// writer calls Close and trusts the written bytes only when it answers true. Destroying a
// stream that was not closed gives up its outcome.
class TVFS_Stream final : public THostStream {
public:
    TVFS_Stream(const char* path, int32_t mode);
    ~TVFS_Stream() override;
    TVFS_Stream(const TVFS_Stream&) = delete;
    TVFS_Stream& operator=(const TVFS_Stream&) = delete;

    // Finishes the stream; false when it was refused or the host reports that what was
    // written did not reach the file. A host without VFSAPI_VFS_StreamClose reports failures
    // only through the results of the writes, so there Close answers true for an open stream.
    [[nodiscard]] bool Close();

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int32_t origin) override;
    void SetSize(int64_t size) override;

    int32_t Handle = 0;
};

// A stream over a COM IStream that another server passed in.
class TIStreamAdapter final : public THostStream {
public:
    explicit TIStreamAdapter(IStream* stream) : stream_(TComPtr<IStream>::Share(stream)) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    // Origins 0, 1, 2; anything else raises "Unknown seek origin". A failed seek answers the
    // current position.
    int64_t Seek(int64_t offset, int32_t origin) override;
    void SetSize(int64_t size) override;  // raises "Error setting stream size"

private:
    TComPtr<IStream> stream_;
};

}  // namespace tarnwick
