// One long line as a chain of chunks, so that an edit copies at most a chunk or two and the
// table of chunk starts, never the whole line.
//
// Invariant: no chunk is empty and none holds more than 2 * chunkBytes_ bytes; for
// i < counted_, starts_[i] is the sum of the sizes of chunks_[0, i); tabs_ counts the tab
// characters of the line. An edit leaves the starts before it as they were and the ones after
// it to be counted again when a reader gets there, so a run of edits moving along the line (a
// replace all, its undo) costs what each changes, not the chunks after it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TChunkedLine {
public:
    TChunkedLine(std::string_view text, size_t chunkBytes);

    size_t Size() const noexcept { return size_; }
    bool HasTab() const noexcept { return tabs_ > 0; }
    // The bytes from `from` to the end of the chunk that holds it; empty at or past the end.
    std::string_view Piece(size_t from) const;
    // The whole line in one piece, assembled on first use after a change: for readers that
    // have no way around it. The view stays valid until the line changes.
    std::string_view Flat() const;

    void Insert(size_t at, std::string_view bytes);
    void Erase(size_t at, size_t count);

private:
    size_t ChunkAt(size_t pos) const;  // the chunk holding pos; pos == Size() gives the last
    void SplitChunk(size_t chunk);     // cuts an oversized chunk into chunks of chunkBytes_
    // After an edit in chunk (or of chunks from it on): the starts after it are counted anew.
    void StartsChangedAfter(size_t chunk);
    void Changed() { std::string().swap(flat_); }

    size_t chunkBytes_;
    size_t size_ = 0;
    size_t tabs_ = 0;
    std::vector<std::string> chunks_;
    mutable std::vector<size_t> starts_;
    mutable size_t counted_ = 0;
    mutable std::string flat_;  // empty: not assembled (the line is never empty)
};

}  // namespace tarnwick
