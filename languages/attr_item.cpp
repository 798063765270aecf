#include "languages/attr_item.h"

namespace tarnwick {

TAttrItem& TFontList::Add() {
    TAttrItem item;
    item.FontID = LowestFreeFontID();
    items_.push_back(std::move(item));
    return items_.back();
}

int TFontList::LowestFreeFontID() const {
    std::vector<bool> used(256, false);
    for (const TAttrItem& item : items_)
        if (item.FontID >= 0 && item.FontID <= 255)
            used[static_cast<std::size_t>(item.FontID)] = true;
    for (int id = 0; id <= 255; ++id)
        if (!used[static_cast<std::size_t>(id)])
            return id;
    return -1;
}

const TAttrItem* TFontList::FindByFontID(int fontID) const noexcept {
    for (const TAttrItem& item : items_)
        if (item.FontID == fontID)
            return &item;
    return nullptr;
}

}  // namespace tarnwick
