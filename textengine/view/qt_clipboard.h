// The engine's clipboard over the system clipboard: plain text (bytes as Latin-1) plus a
// private MIME type that marks a column block copied from this program. Another program that
// takes the clipboard replaces the data, so the mark goes with it.
#pragma once

#include "textengine/clipboard.h"

namespace tarnwick {

class TQtClipboard final : public TClipboard {
public:
    static constexpr const char* kColumnBlockMime = "application/x-tarnwick-column-block";

    bool HasText() const override;
    std::string Text() const override;
    bool IsColumnBlock() const override;
    void SetText(std::string_view text, bool columnBlock) override;
    void Clear() override;
};

}  // namespace tarnwick
