// Loading and saving: the bulk path that fills the line store without undo records or
// position updates per line, and the writer of the stored text.
#include <algorithm>

#include "textengine/byte_stream.h"
#include "textengine/custom_memo_source.h"

namespace tarnwick {

namespace {

// Collects output into large chunks, so the stream sees few calls.
class ChunkedWriter {
public:
    explicit ChunkedWriter(TByteStream& stream) : stream_(stream) { buffer_.reserve(kChunk); }
    void Append(std::string_view bytes) {
        if (buffer_.size() + bytes.size() > kChunk)
            Flush();
        if (bytes.size() >= kChunk)
            WriteAll(bytes);
        else
            buffer_.append(bytes);
    }
    void Flush() {
        WriteAll(buffer_);
        buffer_.clear();
    }

private:
    static constexpr size_t kChunk = size_t(1) << 20;
    void WriteAll(std::string_view bytes) {
        if (bytes.empty())
            return;
        if (stream_.Write(bytes.data(), int64_t(bytes.size())) != int64_t(bytes.size()))
            throw EStreamError("Cannot write the text stream");
    }
    TByteStream& stream_;
    std::string buffer_;
};

}  // namespace

TLoadRules TCustomMemoSource::LoadRules() const {
    return {options_.Has(soUseTabCharacter), spacesInTab_, KeepTrailingBlanks()};
}

// After the store was replaced wholesale: caret home, nothing selected, every view rebuilds.
void TCustomMemoSource::AfterBulkLoad() {
    caret_ = {};
    selType_ = stNone;
    selTopLeft_.Pos = selBottomRight_.Pos = {};
    folds_.Clear();
    ClearUndo();
    // The store is fresh: no line is parsed yet, so only the buffer's own state is reset.
    parsedUpTo_ = 0;
    repaintAfter_ = -1;
    AddStates(msFullUpdate | msHighlightReset);
    MarkChanged(0, std::max(LineCount() - 1, 0));
}

void TCustomMemoSource::LoadFromStream(TByteStream& stream) {
    TChangeBracket bracket(*this, ccLoad);
    // Into a fresh store first: a stream that fails half-way leaves the old text in place.
    TInternalStrings loaded;
    loaded.Load(stream, LoadRules());
    store_.Swap(loaded);
    lengths_.Reset();
    AfterBulkLoad();
    bookmarks_.Clear();
    modified_ = false;
    savePoint_ = -1;
    saveModified_ = false;
}

void TCustomMemoSource::Loaded() {
    TChangeBracket bracket(*this, ccLoad);
    caret_ = {};
    ClearUndo();
    modified_ = false;
    AddStates(msFullUpdate);
    MarkChanged(0, std::max(LineCount() - 1, 0));
}

void TCustomMemoSource::SaveToStream(TByteStream& stream) const {
    const bool excludeReadOnly = options_.Has(soExcludeReadOnlyLines);
    const std::string_view lineEnd = outFormat_ == ofWindows ? "\r\n" : outFormat_ == ofMac ? "\r" : "\n";
    const bool finalLineEnd = finalLineEnd_ == feByOutFormat ? outFormat_ != ofWindows || excludeReadOnly
                                                             : finalLineEnd_ == feWritten;
    const int32_t count = LineCount();
    // The last line written at all: read-only lines at the end may be left out.
    int32_t lastWritten = count - 1;
    while (excludeReadOnly && lastWritten >= 0 && store_.IsReadOnly(lastWritten))
        --lastWritten;
    // Lines up to this one are followed by a line end; without a final one the last line is
    // written on its own.
    const int32_t lastWithLineEnd = finalLineEnd ? count - 1 : lastWritten - 1;
    ChunkedWriter out(stream);
    for (int32_t i = 0; i < count;) {
        int32_t run = 0;
        const std::string_view bytes = store_.LoadedRun(i, lastWithLineEnd, lineEnd, excludeReadOnly, run);
        if (run > 0) {
            out.Append(bytes);
            i += run;
            continue;
        }
        if (!(excludeReadOnly && store_.IsReadOnly(i))) {
            out.Append(store_.Text(i));
            if (i <= lastWithLineEnd)
                out.Append(lineEnd);
        }
        ++i;
    }
    out.Flush();
}

}  // namespace tarnwick
