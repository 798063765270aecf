// A byte stream over a string: reads from what it was given, appends what is written.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "textengine/byte_stream.h"

namespace tarnwick {

class TMemoryStream final : public TByteStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

    int64_t Read(void* buffer, int64_t count) override {
        const int64_t n = std::clamp<int64_t>(count, 0, int64_t(bytes_.size() - readPos_));
        if (n > 0)
            std::memcpy(buffer, bytes_.data() + readPos_, size_t(n));
        readPos_ += size_t(n);
        return n;
    }
    int64_t Write(const void* buffer, int64_t count) override {
        if (count <= 0)
            return 0;
        bytes_.append(static_cast<const char*>(buffer), size_t(count));
        return count;
    }
    int64_t RemainingHint() const override { return int64_t(bytes_.size() - readPos_); }

    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    size_t readPos_ = 0;
};

}  // namespace tarnwick
