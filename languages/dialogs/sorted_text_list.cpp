#include "languages/dialogs/sorted_text_list.h"

#include <algorithm>

#include "host/abi/ascii_text.h"

namespace tarnwick {

namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return ascii::Upper(a) < ascii::Upper(b);
}

}  // namespace

TSortedTextList::TSortedTextList(const std::vector<std::string>& texts) {
    for (const std::string& text : texts)
        Add(text);
}

int TSortedTextList::Add(const std::string& text) {
    const auto at = std::lower_bound(items_.begin(), items_.end(), text, LessIgnoringCase);
    if (at != items_.end() && !LessIgnoringCase(text, *at))
        return -1;
    // Insert first: it may move the items, so begin() is read only after it.
    const auto inserted = items_.insert(at, text);
    return int(inserted - items_.begin());
}

int TSortedTextList::IndexOf(const std::string& text) const {
    const auto at = std::lower_bound(items_.begin(), items_.end(), text, LessIgnoringCase);
    return at != items_.end() && !LessIgnoringCase(text, *at) ? int(at - items_.begin()) : -1;
}

void TSortedTextList::Delete(int index) {
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

}  // namespace tarnwick
