// The highlighting of one long line, kept as parse points every few kilobytes instead of a
// style byte per character. An edit marks the bytes it changed; bringing the line up to date
// parses from the last point the edit left good until the parse meets an old point in the same
// state again, and the styles of a range are parsed on demand from the point before it. Both
// cost what they parse, not the line's length.
//
// Invariant: points_ is sorted by offset and by reach, points_[0] is the line's start, and every
// point lies before the line's end; while dirty, [dirtyFrom_, dirtyTo_) holds every byte
// changed since the last update (offsets of the current text).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "textengine/simple_parser.h"

namespace tarnwick {

class TInternalStrings;

class TLongLineParse {
public:
    // Points are kept about this far apart; a window starts this far before its first point,
    // so that a parse may look back at its delimiters.
    static constexpr size_t kSpacing = 4096;
    static constexpr size_t kLookBehind = 4096;

    // After the bytes [at, at + removed) of the line were replaced by `inserted` bytes.
    void Edited(size_t at, size_t removed, size_t inserted);
    bool IsParsed() const { return parsed_; }
    // Brings the points up to date for the line's text and start state; answers its end state.
    // When that takes a parse of the whole line and wholeStyles is given, the style of every
    // byte goes there as well; else wholeStyles is left as it was.
    uint32_t Update(TSimpleParser& parser, const TInternalStrings& store, int32_t line, uint32_t startState,
                    std::string* wholeStyles = nullptr);
    // The style bytes of [from, from + count), clipped to the line; after Update.
    std::string Styles(TSimpleParser& parser, const TInternalStrings& store, int32_t line, size_t from,
                       size_t count) const;
    const std::vector<TParsePoint>& Points() const { return points_; }

private:
    class TUpdateSink;
    // Parses the line on from point `from` in windows that grow until the sink stops the parse
    // or the line ends; styles, if given, receive the styles of [from, the stop) by line offset
    // minus styleBase.
    TWindowParse ParseOn(TSimpleParser& parser, const TInternalStrings& store, int32_t line, TParsePoint from,
                         size_t firstCall, TParsePointSink& sink, std::string* styles,
                         size_t styleBase) const;

    std::vector<TParsePoint> points_;
    uint32_t startState_ = 0;
    uint32_t endState_ = 0;
    bool parsed_ = false;
    size_t dirtyFrom_ = SIZE_MAX;
    size_t dirtyTo_ = 0;
};

}  // namespace tarnwick
