#pragma once
#include <windows.h>

#include <vector>

namespace hc {

// The work areas (the screen without the taskbar) of every attached monitor, in screen coordinates.
std::vector<RECT> MonitorWorkAreas();
RECT PrimaryWorkArea();

}  // namespace hc
