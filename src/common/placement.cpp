#include "common/placement.h"

#include <algorithm>

namespace vt {

ScreenRect PlaceInWorkArea(int left, int top, int width, int height, const ScreenRect& work) {
    if (width > work.width || height > work.height) return {work.left, work.top, width, height};
    const int x = std::max(work.left, std::min(left, work.left + work.width - width));
    const int y = std::max(work.top, std::min(top, work.top + work.height - height));
    return {x, y, width, height};
}

}  // namespace vt
