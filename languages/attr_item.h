#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "textengine/font_desc.h"

namespace tarnwick {

// One text style of a scheme. Resolved font and background are filled by the highlighter's
// style resolution and are not part of the stored scheme.
struct TAttrItem {
    int FontID = -1;
    std::string GlobalAttrID;
    int BlockID = 0;
    TFontDesc Font;
    TColorValue BackColor = clWindow;
    bool UseDefFont = true;
    bool UseDefBack = true;

    TFontDesc ResolvedFont;
    TColorValue ResolvedBack = clWindow;

    // Equality of the stored properties only.
    [[nodiscard]] bool SameStoredAs(const TAttrItem& other) const noexcept {
        return FontID == other.FontID && GlobalAttrID == other.GlobalAttrID && BlockID == other.BlockID &&
               Font == other.Font && BackColor == other.BackColor && UseDefFont == other.UseDefFont &&
               UseDefBack == other.UseDefBack;
    }
};

// The highlighter's default attribute: takes its own font and background unless told otherwise.
struct TDefAttrItem : TAttrItem {
    TDefAttrItem() {
        UseDefFont = false;
        UseDefBack = false;
    }
};

// Point size of a stored pixel height, at the 96 dots per inch the heights were made for.
[[nodiscard]] inline int FontSizeFromHeight(int height) noexcept {
    const int pixels = height < 0 ? -height : height;
    return (pixels * 72 + 48) / 96;
}

[[nodiscard]] inline int FontHeightFromSize(int points) noexcept { return -((points * 96 + 36) / 72); }

// A scheme's font table. New attributes take the lowest style number that no other attribute
// of the table uses, so that an attribute read without a FontID still gets its own number.
class TFontList {
public:
    TAttrItem& Add();
    // Appends an attribute as it is, numbered by the caller.
    TAttrItem& Append(TAttrItem item) { return items_.emplace_back(std::move(item)); }
    [[nodiscard]] int LowestFreeFontID() const;

    [[nodiscard]] std::size_t Count() const noexcept { return items_.size(); }
    [[nodiscard]] bool Empty() const noexcept { return items_.empty(); }
    TAttrItem& operator[](std::size_t i) { return items_[i]; }
    const TAttrItem& operator[](std::size_t i) const { return items_[i]; }
    [[nodiscard]] const TAttrItem* FindByFontID(int fontID) const noexcept;
    void Clear() noexcept { items_.clear(); }
    void Erase(std::size_t i) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i)); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<TAttrItem> items_;
};

}  // namespace tarnwick
