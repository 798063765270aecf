#pragma once
// A byte stream double for tests of readers: it reads from a string in pieces.

#include <algorithm>
#include <cstring>
#include <string>

#include "textengine/byte_stream.h"

namespace tarnwick {

// Hands out at most chunk bytes per read and no size hint, as a host stream may.
class ChunkedStream final : public TByteStream {
public:
    ChunkedStream(std::string bytes, int64_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}
    int64_t Read(void* buffer, int64_t count) override {
        const int64_t n = std::min<int64_t>({count, chunk_, int64_t(bytes_.size() - pos_)});
        std::memcpy(buffer, bytes_.data() + pos_, size_t(n));
        pos_ += size_t(n);
        return n;
    }
    int64_t Write(const void*, int64_t) override { return 0; }

private:
    std::string bytes_;
    int64_t chunk_;
    size_t pos_ = 0;
};

}  // namespace tarnwick
