#include "textengine/edif/edif_buffer_index.h"

#include "textengine/custom_memo_source.h"

namespace tarnwick {

TEdifBufferIndex::TEdifBufferIndex(TCustomMemoSource& source)
    : source_(source), lines_(source), index_(lines_), lineCount_(source.LineCount()) {
    source_.AddView([this](TCustomMemoSource& s, int32_t first, int32_t last) { Changed(s, first, last); },
                    this, false);
}

TEdifBufferIndex::~TEdifBufferIndex() { source_.RemoveView(this); }

void TEdifBufferIndex::Changed(TCustomMemoSource& source, int32_t firstLine, int32_t lastLine) {
    const TMemoStates states = source.States();
    if (!(states & (msTextChanged | msLineCount)))
        return;
    const int32_t delta = source.LineCount() - lineCount_;
    lineCount_ = source.LineCount();
    ++changes_;
    if (firstLine > lastLine) {  // a change the buffer gave no lines for: read it all again
        index_.Reset();
        return;
    }
    index_.Update(firstLine, lastLine, delta);
}

}  // namespace tarnwick
