#include "prefs/colour_box.h"

namespace vt {

int ColourBoxIndex(Colour colour) {
    for (std::size_t i = 0; i < kColourBoxColours.size(); ++i) {
        if (kColourBoxColours[i].colour == colour) return static_cast<int>(i) + 1;
    }
    return 0;
}

}  // namespace vt
