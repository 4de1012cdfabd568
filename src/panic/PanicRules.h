#pragma once
#include <windows.h>

#include <vector>

namespace hc {

// The opacity of the Panic Button for the transparency slider's position 0 (opaque) to 10 (invisible).
BYTE PanicOpacity(int position);

// Where a Panic Button stored at `stored` with this size appears: there, when any part of it lies on a monitor's
// work area; otherwise at the primary work area's top-left corner, so a monitor that was detached cannot keep the
// button out of reach.
POINT ReachablePanicPosition(POINT stored, SIZE size, const std::vector<RECT>& workAreas, const RECT& primaryWorkArea);

}  // namespace hc
