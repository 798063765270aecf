#include "editor/line_end_form.h"

#include <algorithm>

namespace tarnwick {

int64_t TLineEndSniffer::Read(void* buffer, int64_t count) {
    const int64_t got = source_.Read(buffer, count);
    if (got > 0)
        Look(static_cast<const char*>(buffer), got);
    return got;
}

void TLineEndSniffer::Look(const char* bytes, int64_t count) {
    const char* const end = bytes + count;
    if (search_ == TSearch::ByteAfterCr) {
        format_ = bytes[0] == '\n' ? ofWindows : ofMac;
        search_ = TSearch::Done;
    }
    if (search_ == TSearch::FirstLineEnd) {
        const char* first = std::find_if(bytes, end, [](char c) { return c == '\n' || c == '\r'; });
        if (first != end && *first == '\n') {
            format_ = ofUnix;
            search_ = TSearch::Done;
        } else if (first != end && first + 1 < end) {
            format_ = first[1] == '\n' ? ofWindows : ofMac;
            search_ = TSearch::Done;
        } else if (first != end) {
            search_ = TSearch::ByteAfterCr;  // the next read tells CR from CR LF
        }
    }
    lastByte_ = end[-1];
    readAny_ = true;
}

TLineEndForm TLineEndSniffer::Form() const {
    const TOutFormatType format = search_ == TSearch::ByteAfterCr ? ofMac : format_;
    return {format, readAny_ && (lastByte_ == '\n' || lastByte_ == '\r')};
}

}  // namespace tarnwick
