#include "panic/PanicRules.h"

#include <algorithm>

namespace hc {

BYTE PanicOpacity(int position) {
    // 255 - trunc(position * 25.5), in integers.
    const int clamped = std::clamp(position, 0, 10);
    return static_cast<BYTE>(255 - clamped * 255 / 10);
}

POINT ReachablePanicPosition(POINT stored, SIZE size, const std::vector<RECT>& workAreas, const RECT& primaryWorkArea) {
    // In 64 bits: a stored position near the integer limits must not wrap round onto the screen.
    const long long left = stored.x, top = stored.y;
    const long long right = left + size.cx, bottom = top + size.cy;
    for (const RECT& area : workAreas)
        if (left < area.right && right > area.left && top < area.bottom && bottom > area.top) return stored;
    return POINT{primaryWorkArea.left, primaryWorkArea.top};
}

}  // namespace hc
