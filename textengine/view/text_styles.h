// The named text styles of an editor view. The colour number the highlighter stores for a
// character is an index into this list; a buffer line's line style picks one as well.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "textengine/font_desc.h"

namespace tarnwick {

// Which of the view's own colours a style drives (font colour and colour copied on change).
enum TUpdateMemoColors : uint8_t { mcNone, mcText, mcSelection, mcSearchMatch };

struct TTextStyle {
    std::string Name;
    TColorValue Color = clWindow;  // background
    TFontDesc Font;
    TUpdateMemoColors UpdateMemoColors = mcNone;
    bool UseMemoColor = true;  // background from the view instead of Color
    bool UseMemoFont = true;   // font from the view instead of Font
    bool UpperCase = false;
};

class TTextStyles {
public:
    // The default list, in index order ("Whitespace", "String", ... "Script ResWord").
    static TTextStyles Defaults();

    [[nodiscard]] int32_t Count() const noexcept { return int32_t(items_.size()); }
    // Null for an index with no style (any number may come from a highlighter).
    [[nodiscard]] const TTextStyle* At(int32_t index) const noexcept {
        return index >= 0 && index < Count() ? &items_[size_t(index)] : nullptr;
    }
    [[nodiscard]] int32_t IndexOf(const std::string& name) const;
    TTextStyle& Add(std::string name);
    // Replaces a style; a style that drives the view's colours cannot take the view's colour
    // or font, so those flags are cleared.
    void Set(int32_t index, TTextStyle style);
    // Replaces the style of the same name, or appends it; answers its index.
    int32_t Define(TTextStyle style);

private:
    std::vector<TTextStyle> items_;
};

}  // namespace tarnwick
