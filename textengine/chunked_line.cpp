#include "textengine/chunked_line.h"

#include <algorithm>
#include <cassert>

namespace tarnwick {

namespace {

size_t CountTabs(std::string_view bytes) { return size_t(std::count(bytes.begin(), bytes.end(), '\t')); }

}  // namespace

TChunkedLine::TChunkedLine(std::string_view text, size_t chunkBytes)
    : chunkBytes_(std::max<size_t>(chunkBytes, 1)) {
    Insert(0, text);
}

size_t TChunkedLine::ChunkAt(size_t pos) const {
    assert(!chunks_.empty() && "TChunkedLine::ChunkAt on an empty line");
    // Counts on until the chunk that holds pos is counted, or every chunk is.
    while (counted_ < chunks_.size() &&
           (counted_ == 0 || starts_[counted_ - 1] + chunks_[counted_ - 1].size() <= pos)) {
        starts_[counted_] = counted_ == 0 ? 0 : starts_[counted_ - 1] + chunks_[counted_ - 1].size();
        ++counted_;
    }
    const auto counted = starts_.begin() + std::ptrdiff_t(counted_);
    return size_t(std::upper_bound(starts_.begin(), counted, pos) - starts_.begin()) - 1;
}

std::string_view TChunkedLine::Piece(size_t from) const {
    if (from >= size_)
        return {};
    const size_t chunk = ChunkAt(from);
    return std::string_view(chunks_[chunk]).substr(from - starts_[chunk]);
}

std::string_view TChunkedLine::Flat() const {
    if (flat_.size() != size_) {
        flat_.clear();
        flat_.reserve(size_);
        for (const std::string& chunk : chunks_)
            flat_ += chunk;
    }
    return flat_;
}

void TChunkedLine::StartsChangedAfter(size_t chunk) {
    starts_.resize(chunks_.size());
    counted_ = std::min({counted_, chunk + 1, chunks_.size()});
}

void TChunkedLine::SplitChunk(size_t chunk) {
    if (chunks_[chunk].size() <= 2 * chunkBytes_)
        return;
    std::string whole = std::move(chunks_[chunk]);
    std::vector<std::string> parts;
    for (size_t at = 0; at < whole.size(); at += chunkBytes_)
        parts.emplace_back(whole, at, chunkBytes_);
    chunks_.erase(chunks_.begin() + std::ptrdiff_t(chunk));
    chunks_.insert(chunks_.begin() + std::ptrdiff_t(chunk), std::make_move_iterator(parts.begin()),
                   std::make_move_iterator(parts.end()));
}

void TChunkedLine::Insert(size_t at, std::string_view bytes) {
    assert(at <= size_ && "TChunkedLine::Insert past the end");
    if (bytes.empty())
        return;
    Changed();
    tabs_ += CountTabs(bytes);
    size_ += bytes.size();
    size_t chunk = 0;
    if (chunks_.empty()) {
        chunks_.emplace_back(bytes);
    } else {
        chunk = ChunkAt(at);
        chunks_[chunk].insert(at - starts_[chunk], bytes);
    }
    SplitChunk(chunk);
    StartsChangedAfter(chunk);
}

void TChunkedLine::Erase(size_t at, size_t count) {
    assert(at <= size_ && "TChunkedLine::Erase past the end");
    count = std::min(count, size_ - at);
    if (count == 0)
        return;
    Changed();
    size_ -= count;
    const size_t first = ChunkAt(at);
    size_t chunk = first;
    size_t offset = at - starts_[chunk];
    while (count > 0) {
        std::string& bytes = chunks_[chunk];
        const size_t take = std::min(count, bytes.size() - offset);
        tabs_ -= CountTabs(std::string_view(bytes).substr(offset, take));
        bytes.erase(offset, take);
        count -= take;
        offset = 0;
        ++chunk;
    }
    // Drop the chunks that emptied, and let a small remainder join its successor so that
    // erasing in one place does not leave a trail of tiny chunks.
    const auto emptied =
        std::remove_if(chunks_.begin() + std::ptrdiff_t(first), chunks_.begin() + std::ptrdiff_t(chunk),
                       [](const std::string& c) { return c.empty(); });
    chunks_.erase(emptied, chunks_.begin() + std::ptrdiff_t(chunk));
    if (first < chunks_.size() && first + 1 < chunks_.size() &&
        chunks_[first].size() + chunks_[first + 1].size() <= chunkBytes_) {
        chunks_[first] += chunks_[first + 1];
        chunks_.erase(chunks_.begin() + std::ptrdiff_t(first) + 1);
    }
    StartsChangedAfter(first);
}

}  // namespace tarnwick
