#pragma once
// The FPGA targets a model can be meant for, sorted by display name ignoring case, and the
// "ARCHITECTURE" value that stands for each: the vendor key, a blank and the family key, or the
// vendor key alone when the target has no family.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

struct TDevInfo {
    std::string DisplayName;  // trailing blanks are part of the name
    std::string Vendor;
    std::string Family;
    // Stored with the entry, never read here.
    std::string LibraryCode;
    std::string NetlistExtension;
    std::string Options;
    std::string PlaceAndRouteNote;
    std::string Identifier;
};

class TDevList {
public:
    TDevList();  // the 41 known targets, sorted

    [[nodiscard]] std::size_t Count() const noexcept { return entries_.size(); }
    [[nodiscard]] const TDevInfo& operator[](std::size_t index) const { return entries_.at(index); }

    // The entry a stored value selects: vendor and family both equal (case ignored), else the
    // first with that vendor, else the first entry.
    [[nodiscard]] std::size_t IndexOfArchitecture(std::string_view value) const;
    [[nodiscard]] static std::string ArchitectureOf(const TDevInfo& entry);

private:
    std::vector<TDevInfo> entries_;
};

}  // namespace tarnwick
