#include "textengine/edif/edif_index_impl.h"

namespace tarnwick {

int32_t TEdifIndex::DefinitionAt(TEdifPoint) const { return -1; }
std::vector<TEdifReference> TEdifIndex::References(int32_t) const { return {}; }
std::vector<TEdifFoldRange> TEdifIndex::FoldRanges(int32_t firstLine, int32_t lastLine) const {
    std::vector<TEdifFoldRange> out;
    for (const TEdifRecord& r : impl_->records.items)
        if (r.endLine > r.headLine && r.headLine <= lastLine && r.endLine >= firstLine)
            out.push_back({r.headLine, r.endLine});
    return out;
}
std::vector<TEdifForm> TEdifIndex::FormsOnLines(int32_t, int32_t) const { return {}; }
std::vector<TEdifForm> TEdifIndex::FormPathAt(TEdifPoint) const { return {}; }

}  // namespace tarnwick
