#include "textengine/long_line_parse.h"

#include <algorithm>
#include <cassert>

#include "textengine/line_store.h"

namespace tarnwick {

namespace {

// How far past its starting point the first window of a parse reaches; it doubles while a
// token runs past it.
constexpr size_t kFirstWindow = 32 * 1024;

// Where an offset of the text before an edit of [at, at + removed) into `inserted` bytes lies
// after it; an offset inside the removed bytes goes to the edit's place.
size_t MapThroughEdit(size_t offset, size_t at, size_t removed, size_t inserted) {
    if (offset < at)
        return offset;
    if (offset >= at + removed)
        return offset - removed + inserted;
    return at;
}

using TPoints = std::vector<TParsePoint>;

// The first point from `from` on whose offset is past `offset`, or at least `offset`.
TPoints::const_iterator FirstPast(TPoints::const_iterator from, const TPoints& points, size_t offset) {
    return std::upper_bound(from, points.end(), offset,
                            [](size_t o, const TParsePoint& p) { return o < p.offset; });
}
TPoints::const_iterator FirstFrom(TPoints::const_iterator from, const TPoints& points, size_t offset) {
    return std::lower_bound(from, points.end(), offset,
                            [](const TParsePoint& p, size_t o) { return p.offset < o; });
}

// Ends a parse at the first token edge at or past an offset.
class TStopSink final : public TParsePointSink {
public:
    explicit TStopSink(size_t stopAt) : stopAt_(stopAt) {}
    size_t AtPoint(const TParsePoint& point) override { return point.offset >= stopAt_ ? kStop : stopAt_; }

private:
    size_t stopAt_;
};

}  // namespace

// Keeps a point every kSpacing bytes, and ends the parse where it meets an old point in the
// same state past the changed bytes: from there on the old parse holds again.
class TLongLineParse::TUpdateSink final : public TParsePointSink {
public:
    TUpdateSink(const std::vector<TParsePoint>& old, size_t firstOld, size_t convergeFrom, size_t lastKept)
        : old_(old), next_(firstOld), convergeFrom_(convergeFrom), lastKept_(lastKept) {}

    size_t AtPoint(const TParsePoint& point) override {
        while (next_ < old_.size() && old_[next_].offset < point.offset)
            ++next_;
        if (next_ < old_.size() && old_[next_].offset == point.offset && old_[next_].state == point.state &&
            point.offset >= convergeFrom_) {
            met_ = true;
            meetingReach_ = point.reach;
            return kStop;
        }
        if (point.offset >= lastKept_ + kSpacing) {
            kept.push_back(point);
            lastKept_ = point.offset;
        }
        size_t nextCall = lastKept_ + kSpacing;
        if (next_ < old_.size())
            nextCall = std::min<size_t>(nextCall, std::max<size_t>(old_[next_].offset, convergeFrom_));
        return nextCall;
    }

    std::vector<TParsePoint> kept;
    bool Met() const { return met_; }
    size_t MeetingIndex() const { return next_; }
    uint32_t MeetingReach() const { return meetingReach_; }

private:
    const std::vector<TParsePoint>& old_;
    size_t next_;
    size_t convergeFrom_;
    size_t lastKept_;
    bool met_ = false;
    uint32_t meetingReach_ = 0;
};

void TLongLineParse::Edited(size_t at, size_t removed, size_t inserted) {
    if (!parsed_ || (removed == 0 && inserted == 0))
        return;
    if (dirtyFrom_ == SIZE_MAX) {
        dirtyFrom_ = at;
        dirtyTo_ = at + inserted;
    } else {
        dirtyFrom_ = std::min(MapThroughEdit(dirtyFrom_, at, removed, inserted), at);
        dirtyTo_ = std::max(MapThroughEdit(dirtyTo_, at, removed, inserted), at + inserted);
    }
    // Points after the edit move with their text; those inside the removed bytes are gone.
    const auto gone = FirstPast(points_.begin(), points_, at);
    const auto past = FirstPast(gone, points_, at + removed);
    const auto first = points_.erase(gone, past);
    const int64_t delta = int64_t(inserted) - int64_t(removed);
    for (auto p = first; p != points_.end(); ++p) {
        p->offset = uint32_t(int64_t(p->offset) + delta);
        p->reach = uint32_t(std::max<int64_t>(int64_t(p->reach) + delta, p->offset));
    }
}

uint32_t TLongLineParse::Update(TSimpleParser& parser, const TInternalStrings& store, int32_t line,
                                uint32_t startState, std::string* wholeStyles) {
    if (parsed_ && startState == startState_ && dirtyFrom_ == SIZE_MAX)
        return endState_;
    size_t keep = 1;  // points [0, keep) stay as they are
    size_t firstOld = SIZE_MAX;
    size_t convergeFrom = SIZE_MAX;
    if (!parsed_ || startState != startState_ || points_.empty()) {
        points_.assign(1, parser.LineStart(startState));
        firstOld = points_.size();
    } else {
        // The last point whose parse read nothing the edits changed.
        keep = size_t(FirstPast(points_.begin(), points_, dirtyFrom_) - points_.begin());
        while (keep > 1 && points_[keep - 1].reach > dirtyFrom_)
            --keep;
        // An old point may end the parse once the bytes it looks back at are unchanged too.
        convergeFrom = dirtyTo_ + kLookBehind;
        firstOld = size_t(FirstFrom(points_.begin() + std::ptrdiff_t(keep), points_, convergeFrom) -
                          points_.begin());
    }
    const TParsePoint from = points_[keep - 1];
    TUpdateSink sink(points_, firstOld, convergeFrom, from.offset);
    const bool whole = from.offset == 0 && firstOld == points_.size();  // nothing to meet
    if (whole && wholeStyles != nullptr)
        wholeStyles->assign(store.TextLength(line), '\0');
    else
        wholeStyles = nullptr;
    const TWindowParse parsed = ParseOn(parser, store, line, from, from.offset + 1, sink, wholeStyles, 0);

    std::vector<TParsePoint> updated;
    const size_t tail = sink.Met() ? points_.size() - sink.MeetingIndex() : 0;
    updated.reserve(keep + sink.kept.size() + tail);
    updated.insert(updated.end(), points_.begin(), points_.begin() + std::ptrdiff_t(keep));
    updated.insert(updated.end(), sink.kept.begin(), sink.kept.end());
    if (sink.Met()) {
        for (size_t i = sink.MeetingIndex(); i < points_.size(); ++i) {
            TParsePoint p = points_[i];
            p.reach = std::max(p.reach, sink.MeetingReach());
            updated.push_back(p);
        }
    } else {
        endState_ = parsed.endState;
    }
    points_ = std::move(updated);
    parsed_ = true;
    startState_ = startState;
    dirtyFrom_ = SIZE_MAX;
    dirtyTo_ = 0;
    return endState_;
}

std::string TLongLineParse::Styles(TSimpleParser& parser, const TInternalStrings& store, int32_t line,
                                   size_t from, size_t count) const {
    const size_t length = store.TextLength(line);
    from = std::min(from, length);
    count = std::min(count, length - from);
    std::string styles(count, '\0');
    if (count == 0 || points_.empty())
        return styles;
    const TParsePoint start = *(FirstPast(points_.begin(), points_, from) - 1);
    TStopSink sink(from + count);
    ParseOn(parser, store, line, start, from + count, sink, &styles, from);
    return styles;
}

TWindowParse TLongLineParse::ParseOn(TSimpleParser& parser, const TInternalStrings& store, int32_t line,
                                     TParsePoint from, size_t firstCall, TParsePointSink& sink,
                                     std::string* styles, size_t styleBase) const {
    const size_t length = store.TextLength(line);
    size_t ahead = std::max(kFirstWindow, firstCall > from.offset ? firstCall - from.offset + kSpacing : 0);
    bool fromLineStart = false;
    std::string window;
    std::string windowStyles;
    for (;;) {
        const size_t base = fromLineStart ? 0 : from.offset - std::min<size_t>(from.offset, kLookBehind);
        const size_t end = std::min(length, size_t(from.offset) + ahead);
        window.clear();
        store.CopyText(line, base, end - base, window);
        windowStyles.assign(window.size(), '\0');
        const TWindowParse parsed =
            parser.ParseWindow(window, base, end == length, from, windowStyles.data(), firstCall, sink);
        if (styles != nullptr && !parsed.startTooLate) {
            // The styles the window settled: up to where the parse stopped or last made a point.
            const size_t settled = parsed.end == TWindowParse::kLineEnd ? end : parsed.last.offset;
            const size_t lo = std::max<size_t>(from.offset, styleBase);
            const size_t hi = std::min(settled, styleBase + styles->size());
            if (lo < hi)
                std::copy_n(windowStyles.data() + (lo - base), hi - lo, styles->data() + (lo - styleBase));
        }
        if (parsed.end != TWindowParse::kWindowShort)
            return parsed;
        if (parsed.startTooLate) {
            assert(base > 0 && "a parse from the line's start needs nothing before it");
            fromLineStart = true;
        } else if (parsed.last.offset > from.offset) {
            from = parsed.last;
            firstCall = std::max<size_t>(firstCall, from.offset + 1);
        } else {
            ahead *= 2;
        }
    }
}

}  // namespace tarnwick
