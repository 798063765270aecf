#pragma once
// Texts in ascending order ignoring ASCII case, each at most once: a text that equals one
// already held (ignoring case) is not added.

#include <string>
#include <vector>

namespace tarnwick {

class TSortedTextList {
public:
    TSortedTextList() = default;
    explicit TSortedTextList(const std::vector<std::string>& texts);

    // The new text's index, or -1 when the list holds it already.
    int Add(const std::string& text);
    // The index of the text held equal to it ignoring case, or -1.
    [[nodiscard]] int IndexOf(const std::string& text) const;
    void Delete(int index);
    [[nodiscard]] const std::vector<std::string>& Items() const noexcept { return items_; }
    [[nodiscard]] int Count() const noexcept { return int(items_.size()); }

private:
    std::vector<std::string> items_;
};

}  // namespace tarnwick
