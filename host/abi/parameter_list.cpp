#include "host/abi/parameter_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "host/abi/ascii_text.h"

namespace {

// The bytes of a zero-terminated string, never reading more than limit bytes of it.
std::string_view BoundedText(const char* text, std::size_t limit = kParameterStringLimit - 1) noexcept {
    if (!text)
        return {};
    const void* end = std::memchr(text, '\0', limit);
    const std::size_t length = end ? static_cast<const char*>(end) - text : limit;
    return {text, length};
}

void CopyCut(std::string_view text, char* buffer, std::size_t capacity) noexcept {
    if (!buffer || capacity == 0)
        return;
    const std::size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

std::string_view TrimParameterText(std::string_view text) noexcept { return ascii::Trim(text); }

bool SameParameterName(std::string_view a, std::string_view b) noexcept {
    return ascii::EqualIgnoringCase(a, b);
}

void TParameterList::ParseParameters(std::string_view text) {
    ClearParameters();
    // A two-state scanner: bytes go to the name until the first "=", then to the value.
    std::string name;
    std::string value;
    bool inValue = false;
    auto finishPair = [&] {
        if (inValue)
            AddParameter(name, value);
        name.clear();
        value.clear();
        inValue = false;
    };
    for (const char c : text.substr(0, std::min(text.find('\0'), text.size()))) {
        if (c == '|') {
            finishPair();
        } else if (c == '=' && !inValue) {
            inValue = true;
        } else if (inValue) {
            if (value.size() < kParameterStringLimit - 1)
                value += c;
        } else if (name.size() < kShortStringLength) {
            name += c;
        }
    }
    finishPair();
}

std::string TParameterList::FormatParameters() const {
    std::string out;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (i > 0)
            out += '|';
        out += items_[i].Name;
        out += '=';
        out += items_[i].Value ? *items_[i].Value : std::string(" ");
    }
    return out;
}

void TParameterList::FormatParameters(char* buffer, std::size_t capacity) const {
    CopyCut(FormatParameters(), buffer, capacity);
}

void TParameterList::AddParameter(std::string_view name, std::optional<std::string_view> value) {
    name = TrimParameterText(name);
    if (name.empty())
        return;
    TParameter item;
    item.Name = std::string(name.substr(0, kShortStringLength));
    if (value)
        item.Value = std::string(*value);
    items_.push_back(std::move(item));
}

const TParameter* TParameterList::FindParameter(std::string_view name) const {
    name = TrimParameterText(name);
    for (const TParameter& p : items_)
        if (SameParameterName(p.Name, name))
            return &p;
    return nullptr;
}

TParameter* TParameterList::FindParameter(std::string_view name) {
    return const_cast<TParameter*>(std::as_const(*this).FindParameter(name));
}

std::optional<std::string> TParameterList::GetParameterValue(std::string_view name) const {
    const TParameter* p = FindParameter(name);
    if (!p)
        return std::nullopt;
    if (!p->Value)
        return std::string();
    std::string_view value(*p->Value);
    return std::string(TrimParameterText(value.substr(0, kShortStringLength)));
}

bool TParameterList::GetParameterValue(std::string_view name, std::string& value) const {
    std::optional<std::string> found = GetParameterValue(name);
    value = found.value_or(std::string());
    return found.has_value();
}

void TParameterList::RemoveParameter(std::string_view name) {
    const TParameter* p = FindParameter(name);
    if (p)
        items_.erase(items_.begin() + (p - items_.data()));
}

namespace {

// The last string LookupParameter parsed and its list; made at first use, freed at unload.
struct TLookupCache {
    std::string text;
    TParameterList list;
    bool valid = false;
};

TLookupCache& LookupCache() {
    static TLookupCache cache;
    return cache;
}

}  // namespace

bool LookupParameter(const char* text, std::string_view name, std::string& value) {
    value.clear();
    const std::string_view bounded = BoundedText(text);
    if (bounded.empty())
        return false;
    TLookupCache& cache = LookupCache();
    if (!cache.valid || cache.text != bounded) {
        cache.text.assign(bounded);
        cache.list.ParseParameters(cache.text);
        cache.valid = true;
    }
    return cache.list.GetParameterValue(name, value);
}

std::string LookupParameter(const char* text, std::string_view name) {
    std::string value;
    LookupParameter(text, name, value);
    return value;
}

void StoreParameter(char* buffer, std::string_view name, std::string_view value, std::size_t capacity) {
    if (!buffer || capacity == 0)
        return;
    TParameterList list;
    list.ParseParameters(BoundedText(buffer, std::min(capacity, kParameterStringLimit) - 1));
    value = TrimParameterText(value);
    if (TParameter* existing = list.FindParameter(name))
        existing->Value = std::string(value);
    else
        list.AddParameter(name, value);
    list.FormatParameters(buffer, capacity);
}
