// Where a window created at a fixed screen position goes so that it can be seen.
#pragma once

namespace vt {

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The window at (left, top), shifted left and up just enough to fit the work area; a window
// larger than the work area (in either direction) goes to the work area's top-left corner.
ScreenRect PlaceInWorkArea(int left, int top, int width, int height, const ScreenRect& workArea);

}  // namespace vt
