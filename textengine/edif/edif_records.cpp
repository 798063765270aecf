#include "textengine/edif/edif_index_impl.h"

namespace tarnwick {

void TEdifRecords::Compact() {
    std::string kept;
    kept.reserve(names.size() / 2);
    for (TEdifRecord& r : items) {
        const uint32_t offset = uint32_t(kept.size());
        kept.append(Name(r));
        r.nameOffset = offset;
    }
    kept.shrink_to_fit();
    names.swap(kept);
}

TEdifRecordBuilder::TEdifRecordBuilder(TEdifRecords& out, int32_t firstIndex, int32_t parent)
    : out_(out), firstIndex_(firstIndex), parent_(parent) {}

void TEdifRecordBuilder::Opened(TEdifFrame& frame, int32_t) {
    TEdifKind kind;
    if (!EdifKindOf(frame.keyword, kind))
        return;
    TEdifRecord r;
    r.kind = kind;
    r.headLine = frame.head.line;
    r.headColumn = r.nameColumn = frame.head.column;
    r.parent = open_.empty() ? parent_ : open_.back();
    r.nameOffset = uint32_t(out_.names.size());
    frame.record = firstIndex_ + int32_t(out_.items.size());
    open_.push_back(frame.record);
    out_.items.push_back(r);
}

void TEdifRecordBuilder::Named(TEdifFrame& frame, int32_t) {
    if (frame.record < 0)
        return;
    TEdifRecord& r = At(frame.record);
    r.SetNameAt(frame.nameAt);
    r.nameOffset = uint32_t(out_.names.size());
    r.nameLength = uint32_t(frame.name.size());
    r.flags |= (frame.renamed ? TEdifRecord::kRenamed : 0) | (frame.isArray ? TEdifRecord::kArray : 0);
    out_.names.append(frame.name);
}

void TEdifRecordBuilder::Closed(TEdifFrame& frame, int32_t, TEdifPoint closeAt) {
    if (frame.record < 0)
        return;
    TEdifRecord& r = At(frame.record);
    r.endLine = closeAt.line;
    r.endColumn = closeAt.column;
    r.flags |= TEdifRecord::kClosed;
    r.subtreeEnd = firstIndex_ + int32_t(out_.items.size());
    open_.pop_back();
}

void TEdifRecordBuilder::FinishOpen(TEdifPoint endOfText) {
    for (const int32_t index : open_) {
        TEdifRecord& r = At(index);
        r.endLine = endOfText.line;
        r.endColumn = endOfText.column;
        r.subtreeEnd = firstIndex_ + int32_t(out_.items.size());
    }
    open_.clear();
}

}  // namespace tarnwick
