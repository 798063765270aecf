#include "editor/edif_document_index.h"

#include <algorithm>

#include "textengine/custom_memo_source.h"

namespace tarnwick {

TEdifDocumentIndex::TEdifDocumentIndex(TCustomMemoSource& source)
    : source_(source), lines_(source), index_(lines_), lineCount_(source.LineCount()) {
    source_.AddView([this](TCustomMemoSource&, int32_t first, int32_t last) { TextChanged(first, last); },
                    this, false);
}

TEdifDocumentIndex::~TEdifDocumentIndex() { source_.RemoveView(this); }

void TEdifDocumentIndex::TextChanged(int32_t firstLine, int32_t lastLine) {
    const int32_t count = source_.LineCount();
    const int32_t delta = count - lineCount_;
    lineCount_ = count;
    // A caret move or a selection marks lines for repainting too: only a change of the text,
    // or a load (which resets the highlighting), is news to the index.
    if (!(source_.States() & (msTextChanged | msLineCount | msHighlightReset)) || firstLine > lastLine)
        return;
    ++changes_;
    // A load puts in a new text and resets the highlighting with it; an edit, even one over
    // every line of a text written as one line, is left to the index to rescan where it must.
    if (source_.States() & msHighlightReset)
        index_.Reset();
    else
        index_.Update(std::max(firstLine, 0), std::min(lastLine, count - 1), delta);
}

bool TEdifDocumentIndex::Step(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0)
        return true;
    return !index_.Step(TEdifBudget{left});
}

}  // namespace tarnwick
