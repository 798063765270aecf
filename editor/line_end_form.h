#pragma once
// The line ends a file was read with, so that saving writes them back: the form of its first
// line end (LF when it has none) and whether its last byte ends a line.

#include <cstdint>

#include "textengine/byte_stream.h"
#include "textengine/memo_types.h"

namespace tarnwick {

struct TLineEndForm {
    TOutFormatType Format = ofUnix;
    bool FinalLineEnd = true;  // a new file is a text file whose every line ends
    friend bool operator==(const TLineEndForm&, const TLineEndForm&) = default;
};

// Passes the reads of another stream through and notes their TLineEndForm on the way. It
// looks at the bytes only up to the first line end, and then at the last byte of each read.
class TLineEndSniffer final : public TByteStream {
public:
    explicit TLineEndSniffer(TByteStream& source) : source_(source) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void*, int64_t) override { return -1; }  // reading only
    int64_t RemainingHint() const override { return source_.RemainingHint(); }

    // What was read so far: an empty stream has no line end at all.
    [[nodiscard]] TLineEndForm Form() const;

private:
    enum class TSearch : uint8_t { FirstLineEnd, ByteAfterCr, Done };
    void Look(const char* bytes, int64_t count);

    TByteStream& source_;
    TSearch search_ = TSearch::FirstLineEnd;
    TOutFormatType format_ = ofUnix;
    char lastByte_ = 0;
    bool readAny_ = false;
};

}  // namespace tarnwick
