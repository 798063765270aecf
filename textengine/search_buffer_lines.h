// A buffer's lines as the search core reads them: expanded, without copying lines that hold
// no tab character.
#pragma once

#include <string>

#include "custom_memo_source.h"
#include "search_lines.h"

namespace tarnwick {

class TMemoSourceLines : public TSearchLineSource {
public:
    explicit TMemoSourceLines(const TCustomMemoSource& source) : source_(source) {}
    int32_t Count() const override { return source_.LineCount(); }
    std::string_view Line(int32_t index) override {
        const std::string_view stored = source_.StoredLine(index);
        if (stored.find('\t') == std::string_view::npos)
            return stored;
        expanded_ = source_.LineText(index);
        return expanded_;
    }

private:
    const TCustomMemoSource& source_;
    std::string expanded_;
};

}  // namespace tarnwick
