#include "common/contrast.h"

#include <algorithm>
#include <cmath>

namespace vt {
namespace {

double Linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(Rgb8 colour) {
    return 0.2126 * Linear(colour.r) + 0.7152 * Linear(colour.g) + 0.0722 * Linear(colour.b);
}

double ContrastRatio(Rgb8 a, Rgb8 b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb8 ContrastingHalo(Rgb8 colour) {
    const Rgb8 black{0, 0, 0}, white{255, 255, 255};
    return ContrastRatio(colour, black) >= ContrastRatio(colour, white) ? black : white;
}

}  // namespace vt
