// An EDIF index kept up to date with a text buffer: it listens to the buffer's change
// notifications and hands each text change to the index. The host's idle time drives
// Index().Step() to finish the work each change leaves.
#pragma once

#include <cstdint>

#include "textengine/edif/edif_index.h"
#include "textengine/edif/edif_lines.h"

namespace tarnwick {

class TCustomMemoSource;

class TEdifBufferIndex {
public:
    explicit TEdifBufferIndex(TCustomMemoSource& source);
    ~TEdifBufferIndex();
    TEdifBufferIndex(const TEdifBufferIndex&) = delete;
    TEdifBufferIndex& operator=(const TEdifBufferIndex&) = delete;

    TEdifIndex& Index() { return index_; }
    const TEdifIndex& Index() const { return index_; }
    // Counts the text changes handed to the index, so a reader can tell whether what it took
    // from the index (an outline's layout) may be out of date.
    uint64_t Changes() const { return changes_; }

private:
    void Changed(TCustomMemoSource& source, int32_t firstLine, int32_t lastLine);

    TCustomMemoSource& source_;
    TEdifBufferLines lines_;
    TEdifIndex index_;
    int32_t lineCount_ = 0;  // the buffer's line count at the last notification
    uint64_t changes_ = 0;
};

}  // namespace tarnwick
