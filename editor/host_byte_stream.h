#pragma once
// The engine's byte stream over a host stream, so the buffer loads and saves through the
// host's file system.

#include "host/host_stream.h"
#include "textengine/byte_stream.h"

namespace tarnwick {

class THostByteStream final : public tarnwick::TByteStream {
public:
    explicit THostByteStream(THostStream& stream) : stream_(stream) {}

    int64_t Read(void* buffer, int64_t count) override { return stream_.Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override { return stream_.Write(buffer, count); }

private:
    THostStream& stream_;
};

}  // namespace tarnwick
