// Relative luminance and contrast ratio of sRGB colours (WCAG 2.x), for drawings that must read
// on a dark and on a light taskbar.
#pragma once

#include <cstdint>

namespace vt {

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb8&) const = default;
};

double RelativeLuminance(Rgb8 colour);

// 1 (no contrast) to 21 (black on white), the same in either order.
double ContrastRatio(Rgb8 a, Rgb8 b);

// Black or white, whichever contrasts more with the colour: the halo around drawn digits.
Rgb8 ContrastingHalo(Rgb8 colour);

}  // namespace vt
