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
    if (firstLine <= 0 && lastLine >= count - 1)
        index_.Reset();  // the whole text is new: rescanning it in place would gain nothing
    else
        index_.Update(std::max(firstLine, 0), std::min(lastLine, count - 1), delta);
}

bool TEdifDocumentIndex::Step(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline -
                                                                            std::chrono::steady_clock::now());
    if (left.count() <= 0)
        return true;
    return !index_.Step(TEdifBudget{left});
}

}  // namespace tarnwick
