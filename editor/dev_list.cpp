#include "editor/dev_list.h"

#include <algorithm>
#include <iterator>

#include "host/abi/ascii_text.h"

namespace tarnwick {

namespace {

// Display names are padded with blanks to this length.
constexpr std::size_t kDisplayNameWidth = 35;

struct TTarget {
    const char* name;
    const char* vendor;
    const char* family;
};

constexpr TTarget kTargets[] = {
    {"Actel, ACT-1 Series (Designer 3.1)", "actel", "act1"},
    {"Actel, ACT-1 Series (Designer98)", "actel98", "act1"},
    {"Actel, ACT-2 Series (Designer 3.1)", "actel", "act2"},
    {"Actel, ACT-2 Series (Designer98)", "actel98", "act2"},
    {"Actel, ACT-3 Series (Designer 3.1)", "actel", "act3"},
    {"Actel, ACT-3 Series (Designer98)", "actel98", "act3"},
    {"Actel, ACT-32 Series (Designer 3.1)", "actel", "act32"},
    {"Actel, ACT-32 Series (Designer98)", "actel98", "act32"},
    {"Actel, 40MX Series (Designer98)", "actel98", "act40"},
    {"Actel, 42MX Series (Designer98)", "actel98", "act42"},
    {"Actel, 54SX Series (Designer98)", "actel98", "act54"},
    {"Altera, all devices", "altera", ""},
    {"Lattice, PLSI devices", "lattice", ""},
    {"Lucent, ORCA devices", "lucent", ""},
    {"Quicklogic, pASIC devices", "quicklogic", ""},
    {"Vantis, CPLD devices", "vantis", "cpld"},
    {"Xilinx 3000 Series", "xilinx", "3k"},
    {"Xilinx 4000 Series", "xilinx", "4k"},
    {"Xilinx 4000e Series", "xilinx", "4ke"},
    {"Xilinx 4000l Series", "xilinx", "4kl"},
    {"Xilinx 4000ex Series", "xilinx", "4kex"},
    {"Xilinx 4000xl Series", "xilinx", "4kex"},
    {"Xilinx 4000xv Series", "xilinx", "4kxv"},
    {"Xilinx 4000xla Series", "xilinx", "4kex"},
    {"Xilinx 5000 Series", "xilinx", "5k"},
    {"Xilinx 7000 Series", "xilinx", "7k"},
    {"Xilinx 9500 Series", "xilinx", "9k"},
    {"Xilinx 9500XV Series", "xilinx", "9kxv"},
    {"Xilinx 9500XL Series", "xilinx", "9kxl"},
    {"Xilinx Spartan Series", "xilinx", "spartan"},
    {"Xilinx Spartan XL Series", "xilinx", "spartanxl"},
    {"Xilinx Spartan 2 Series", "xilinx", "spartan2"},
    {"Xilinx Spartan 2E Series", "xilinx", "spartan2e"},
    {"Xilinx Virtex Series", "xilinx", "virtex"},
    {"Xilinx Virtex E Series", "xilinx", "virtexe"},
    {"Xilinx Virtex II Series", "xilinx", "virtex2"},
    {"Xilinx Virtex II Pro Series", "xilinx", "virtex2p"},
    {"Xilinx Coolrunner Series", "philips", ""},
    {"Xilinx Coolrunner II Series", "xilinx", "coolrunner2"},
    {"Xilinx Coolrunner XPLA3", "xilinx", "coolrunnerXPLA3"},
    {"Atmel PLD devices", "atmelpld", ""},
};

std::string Padded(std::string name) {
    if (name.size() < kDisplayNameWidth)
        name.resize(kDisplayNameWidth, ' ');
    return name;
}

}  // namespace

TDevList::TDevList() {
    for (const TTarget& target : kTargets) {
        TDevInfo entry;
        entry.DisplayName = Padded(target.name);
        entry.Vendor = target.vendor;
        entry.Family = target.family;
        entries_.push_back(std::move(entry));
    }
    std::stable_sort(entries_.begin(), entries_.end(), [](const TDevInfo& a, const TDevInfo& b) {
        return ascii::LessIgnoringCase()(a.DisplayName, b.DisplayName);
    });
}

std::size_t TDevList::IndexOfArchitecture(std::string_view value) const {
    const std::size_t blank = value.find(' ');
    const std::string_view vendor = value.substr(0, blank);
    const std::string_view family =
        blank == std::string_view::npos ? std::string_view() : value.substr(blank + 1);
    const auto byVendor = [&](const TDevInfo& e) { return ascii::EqualIgnoringCase(e.Vendor, vendor); };
    auto found = std::find_if(entries_.begin(), entries_.end(), [&](const TDevInfo& e) {
        return byVendor(e) && ascii::EqualIgnoringCase(e.Family, family);
    });
    if (found == entries_.end())
        found = std::find_if(entries_.begin(), entries_.end(), byVendor);
    return found == entries_.end() ? 0 : static_cast<std::size_t>(std::distance(entries_.begin(), found));
}

std::string TDevList::ArchitectureOf(const TDevInfo& entry) {
    return entry.Family.empty() ? entry.Vendor : entry.Vendor + " " + entry.Family;
}

}  // namespace tarnwick
