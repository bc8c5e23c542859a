// The temperature drawn as the tray icon: Arial digits in the chosen colour, centred, with a
// one-pixel halo of black or white (whichever contrasts more) so they read on any taskbar.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/colour.h"
#include "win32/handles.h"

namespace vt {

// The coverage (0..255) of the text's ink, size x size, top row first.
struct TemperatureInk {
    int size = 0;
    std::vector<std::uint8_t> coverage;
    std::uint8_t At(int x, int y) const {
        return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                        static_cast<std::size_t>(x)];
    }
};

// The whole text always shows, one pixel clear of every edge for the halo: measured first, set
// at the specified cell height (15/16 of the icon) when it fits, else narrower, else smaller.
// The minus is a bar of at least a fifth of the icon, one clear column before the digits.
TemperatureInk DrawTemperatureInk(const std::string& text, int size);

// The ink in the colour over its halo, premultiplied alpha as the shell expects.
UniqueIcon DrawTemperatureIcon(const std::string& text, Colour colour, int size);

}  // namespace vt
