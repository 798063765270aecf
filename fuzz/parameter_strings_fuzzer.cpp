// Parameter strings as other servers send them: parsed, looked up, stored into and formatted
// back within a buffer of exactly the exchanged limit, so a write past it is caught at once.
// Input: the parameter string, NUL, a name, NUL, a value.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_input.h"
#include "host/abi/parameter_list.h"

namespace {

using tarnwick::fuzz::TFuzzInput;

// A heap block of exactly kParameterStringLimit bytes holding text cut with its terminator.
std::unique_ptr<char[]> ParameterBuffer(std::string_view text) {
    auto buffer = std::make_unique<char[]>(kParameterStringLimit);
    const std::size_t n = std::min(text.size(), kParameterStringLimit - 1);
    if (n > 0)
        std::memcpy(buffer.get(), text.data(), n);
    buffer[n] = '\0';
    return buffer;
}

bool SameLists(const TParameterList& a, const TParameterList& b) {
    if (a.Count() != b.Count())
        return false;
    for (std::size_t i = 0; i < a.Count(); ++i)
        if (a[i].Name != b[i].Name || a[i].Value != b[i].Value)
            return false;
    return true;
}

void CheckParsedList(const TParameterList& list, std::string_view name) {
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const std::string& n = list[i].Name;
        FUZZ_REQUIRE(!n.empty() && n.size() <= kShortStringLength);
        FUZZ_REQUIRE(n == TrimParameterText(n) && n.find_first_of("|=") == std::string::npos);
    }
    if (const auto value = list.GetParameterValue(name))
        FUZZ_REQUIRE(value->size() <= kShortStringLength && *value == TrimParameterText(*value));
}

// What fits formats to a string that parses back to the same list.
void CheckFormatRoundTrip(const TParameterList& list) {
    const std::string formatted = list.FormatParameters();
    auto buffer = ParameterBuffer({});
    list.FormatParameters(buffer.get());
    FUZZ_REQUIRE(std::strlen(buffer.get()) == std::min(formatted.size(), kParameterStringLimit - 1));
    if (formatted.size() >= kParameterStringLimit || formatted.find('\0') != std::string::npos)
        return;
    TParameterList again;
    again.ParseParameters(buffer.get());
    FUZZ_REQUIRE(SameLists(list, again));
}

// Storing a pair and looking it up gives the value back, as a lookup trims and cuts it.
void CheckStore(std::string_view text, std::string_view name, std::string_view value) {
    auto buffer = ParameterBuffer(text);
    StoreParameter(buffer.get(), name, value);
    FUZZ_REQUIRE(std::memchr(buffer.get(), '\0', kParameterStringLimit) != nullptr);
    const std::string_view trimmedName = TrimParameterText(name);
    const bool storable = !trimmedName.empty() && trimmedName.size() <= kShortStringLength &&
                          trimmedName.find_first_of(std::string_view("|=\0", 3)) == std::string_view::npos &&
                          value.find_first_of(std::string_view("|\0", 2)) == std::string_view::npos &&
                          text.size() < 32000 && value.size() < 16000;
    if (!storable)
        return;
    std::string found;
    FUZZ_REQUIRE(LookupParameter(buffer.get(), name, found));
    FUZZ_REQUIRE(found == TrimParameterText(TrimParameterText(value).substr(0, kShortStringLength)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TFuzzInput input(data, size);
    const std::string_view text = input.Until('\0');
    const std::string_view name = input.Until('\0');
    const std::string_view value = input.Rest();

    TParameterList list;
    list.ParseParameters(text);
    CheckParsedList(list, name);
    CheckFormatRoundTrip(list);

    // The lookup over a zero-terminated copy agrees with the list it parses.
    const auto copy = ParameterBuffer(text);
    std::string looked;
    const bool found = LookupParameter(copy.get(), name, looked);
    const auto expected = list.GetParameterValue(name);
    if (text.size() < kParameterStringLimit)
        FUZZ_REQUIRE(found == expected.has_value() && looked == expected.value_or(std::string()));

    CheckStore(text, name, value);
    return 0;
}
