#pragma once
// The netlist index of a window's text, kept current: it hears of every change of the buffer
// and brings itself up to date in slices of the host's idle time (Step). A load starts the
// index over.

#include <chrono>
#include <cstdint>

#include "textengine/edif/edif_index.h"
#include "textengine/edif/edif_lines.h"

namespace tarnwick {

class TCustomMemoSource;

class TEdifDocumentIndex {
public:
    explicit TEdifDocumentIndex(TCustomMemoSource& source);
    ~TEdifDocumentIndex();
    TEdifDocumentIndex(const TEdifDocumentIndex&) = delete;
    TEdifDocumentIndex& operator=(const TEdifDocumentIndex&) = delete;

    [[nodiscard]] const TEdifIndex& Index() const noexcept { return index_; }
    // Works on the index until the deadline; true while work is left for later.
    bool Step(std::chrono::steady_clock::time_point deadline);
    // Counts the changes of the text the index has heard of, so a reader can tell whether
    // what it took from the index may be out of date.
    [[nodiscard]] uint64_t Changes() const noexcept { return changes_; }

private:
    void TextChanged(int32_t firstLine, int32_t lastLine);

    TCustomMemoSource& source_;
    TEdifBufferLines lines_;
    TEdifIndex index_;
    int32_t lineCount_;
    uint64_t changes_ = 0;
};

}  // namespace tarnwick
