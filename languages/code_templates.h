#pragma once

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// A named piece of text expanded at the caret; Code may hold one caret marker "|".
struct TMemoCodeTemplate {
    std::string Name;  // the abbreviation typed before expanding
    std::string Description;
    std::vector<std::string> Code;

    // "Description|~Name~": the list draws the part between the markers in its emphasis font.
    [[nodiscard]] std::string ChoiceText() const { return Description + "|~" + Name + "~"; }

    friend bool operator==(const TMemoCodeTemplate&, const TMemoCodeTemplate&) = default;
};

// A template file that is not a valid template collection.
class TTemplateReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The code templates of one language, in file order (which is also the choice-list order).
class TMemoCodeTemplates {
public:
    // An empty file, or one whose collection is empty, leaves the templates as they are; any
    // other file replaces them. Throws TTemplateReadError on a syntax fault or an unknown
    // property (the templates read so far stay), std::system_error when the file cannot be opened.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    void ReadFromText(std::string_view text);
    [[nodiscard]] std::string WriteToText() const;

    // The templates offered for a typed word (names compare ignoring case): the first template
    // whose name starts with the word, alone, when its name is the word; otherwise every
    // template whose name starts with it, or all of them when none does or the word is empty.
    void FindTemplates(std::string_view word, std::vector<const TMemoCodeTemplate*>& found,
                       bool& exactMatch) const;

    TMemoCodeTemplate& Add() { return items_.emplace_back(); }
    // Inserts before index (clamped to the end).
    TMemoCodeTemplate& Insert(std::size_t index, TMemoCodeTemplate item) {
        return *items_.insert(items_.begin() + std::ptrdiff_t(std::min(index, items_.size())),
                              std::move(item));
    }
    void Delete(std::size_t index) {
        if (index < items_.size())
            items_.erase(items_.begin() + std::ptrdiff_t(index));
    }
    void Clear() noexcept { items_.clear(); }
    [[nodiscard]] std::size_t Count() const noexcept { return items_.size(); }
    [[nodiscard]] const TMemoCodeTemplate& operator[](std::size_t i) const { return items_[i]; }
    TMemoCodeTemplate& operator[](std::size_t i) { return items_[i]; }

    friend bool operator==(const TMemoCodeTemplates&, const TMemoCodeTemplates&) = default;

private:
    std::vector<TMemoCodeTemplate> items_;
};

}  // namespace tarnwick
