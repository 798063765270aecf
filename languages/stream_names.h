#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// The identifiers that object-stream files use for colours and character sets, both ways.
// Writing prefers the name; reading takes a name or a number.

[[nodiscard]] std::optional<std::string_view> ColorName(std::uint32_t color);
[[nodiscard]] std::optional<std::uint32_t> ColorFromName(std::string_view name);
[[nodiscard]] std::optional<std::string_view> CharsetName(int charset);
[[nodiscard]] std::optional<int> CharsetFromName(std::string_view name);

}  // namespace tarnwick
