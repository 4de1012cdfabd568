#include "platform/Monitors.h"

namespace hc {

namespace {
bool WorkAreaOf(HMONITOR monitor, RECT& area) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) return false;
    area = info.rcWork;
    return true;
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM context) noexcept {
    RECT area{};
    try {
        if (WorkAreaOf(monitor, area)) reinterpret_cast<std::vector<RECT>*>(context)->push_back(area);
    } catch (...) {
        return FALSE;  // out of memory: stop with what we have
    }
    return TRUE;
}
}  // namespace

std::vector<RECT> MonitorWorkAreas() {
    std::vector<RECT> areas;
    EnumDisplayMonitors(nullptr, nullptr, &CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

RECT PrimaryWorkArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    WorkAreaOf(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), area);
    return area;
}

}  // namespace hc
