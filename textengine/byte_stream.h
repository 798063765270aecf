// The engine's own byte stream for loading and saving; the document adapts the host's streams
// to it, tests and the benchmark use memory and file streams.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tarnwick {

class TByteStream {
public:
    // Reads up to count bytes; returns how many were read (0 at the end), or -1 on an error.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes count bytes; returns how many were written. Fewer than count is an error.
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Bytes left to read, or -1 when the stream cannot tell; only a hint for buffer sizes.
    virtual int64_t RemainingHint() const { return -1; }

protected:
    ~TByteStream() = default;
};

// Raised when a stream fails while the buffer loads or saves; the message says which.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that goes beyond what a document can hold (lines, or characters in a line); the
// message says which limit and where, for the user.
class ETextLimitError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

}  // namespace tarnwick
