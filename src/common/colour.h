// Colours in the toolkit notation of the settings file: a name such as "clRed", or "$" and eight
// hexadecimal digits of 0x00BBGGRR. System colours are 0x80000000 | the system colour index and
// are resolved by the drawing code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vt {

using Colour = std::int32_t;

constexpr Colour kClBlack = 0x000000;
constexpr std::uint32_t kSystemColourFlag = 0x80000000u;

constexpr bool IsSystemColour(Colour c) {
    return (static_cast<std::uint32_t>(c) & 0xFF000000u) == kSystemColourFlag;
}
constexpr int SystemColourIndex(Colour c) {
    return static_cast<int>(static_cast<std::uint32_t>(c) & 0xFFu);
}

// A name (case ignored), a decimal number (sign allowed) or "$" with one to eight hex digits.
std::optional<Colour> ColourFromString(std::string_view text);

// The name when the colour has one, otherwise "$" and eight upper-case hex digits.
std::string ColourToString(Colour colour);

}  // namespace vt
