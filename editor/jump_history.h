#pragma once
// The places a user jumped away from (to a definition, a reference, an outline entry, a
// problem), so Back and Forward retrace the jumps as a browser does.
//
// Invariant: back_ holds the places left by jumps and forward_ the places Back left, the newest
// last in each; a new jump empties forward_. Each keeps at most kLimit places, dropping the
// oldest, so a long session does not grow them without bound.

#include <cstddef>
#include <optional>
#include <vector>

#include "textengine/memo_types.h"

namespace tarnwick {

class TJumpHistory {
public:
    static constexpr std::size_t kLimit = 100;

    // The caret was at from and is about to move elsewhere.
    void Jumped(TPosition from) {
        Push(back_, from);
        forward_.clear();
    }
    // Where Back leads from current, which Forward then leads to again; nullopt at the oldest.
    std::optional<TPosition> Back(TPosition current) { return Move(back_, forward_, current); }
    std::optional<TPosition> Forward(TPosition current) { return Move(forward_, back_, current); }

    [[nodiscard]] bool CanGoBack() const noexcept { return !back_.empty(); }
    [[nodiscard]] bool CanGoForward() const noexcept { return !forward_.empty(); }

private:
    static void Push(std::vector<TPosition>& places, TPosition place) {
        if (places.size() == kLimit)
            places.erase(places.begin());
        places.push_back(place);
    }
    static std::optional<TPosition> Move(std::vector<TPosition>& from, std::vector<TPosition>& to,
                                         TPosition current) {
        if (from.empty())
            return std::nullopt;
        const TPosition target = from.back();
        from.pop_back();
        Push(to, current);
        return target;
    }

    std::vector<TPosition> back_;
    std::vector<TPosition> forward_;
};

}  // namespace tarnwick
