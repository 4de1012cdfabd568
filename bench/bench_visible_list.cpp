// Time of a visible-window rebuild against a bare enumeration loop over the same windows.
#include <cstdio>

#include "BenchSupport.h"
#include "engine/VisibleWindowList.h"
#include "platform/Processes.h"
#include "platform/WindowSystem.h"

namespace {

BOOL CALLBACK BareVisit(HWND window, LPARAM context) {
    wchar_t title[255];
    const int length = GetWindowTextW(window, title, 255);
    if (length > 0 && IsWindowVisible(window)) ++*reinterpret_cast<int*>(context);
    return TRUE;
}

}  // namespace

int main() {
    constexpr int kRuns = 51;
    std::printf("visible-window rebuild (DoGetWindows) vs bare EnumWindows + GetWindowTextW + IsWindowVisible\n");
    std::printf("%8s %10s %14s %14s %8s\n", "windows", "processes", "rebuild ms", "bare loop ms", "ratio");
    for (int count : {10, 100, 300}) {
        hcbench::HelperWindows desktop(count, 10);
        hc::Win32WindowSystem system;
        hc::Win32ProcessSystem processes;
        hc::VisibleWindowList list(system, processes);
        list.DoGetWindows();
        // Taking turns, so a busy moment of the machine falls on both alike.
        std::vector<double> rebuilds, bares;
        for (int run = 0; run < kRuns; ++run) {
            rebuilds.push_back(hcbench::MedianMs(1, [&] { list.DoGetWindows(); }));
            bares.push_back(hcbench::MedianMs(1, [&] {
                int listed = 0;
                EnumWindows(&BareVisit, reinterpret_cast<LPARAM>(&listed));
            }));
        }
        std::sort(rebuilds.begin(), rebuilds.end());
        std::sort(bares.begin(), bares.end());
        const double rebuild = rebuilds[kRuns / 2];
        const double bare = bares[kRuns / 2];
        std::printf("%8d %10zu %14.3f %14.3f %8.2f\n", count, desktop.helpers.size(), rebuild, bare, rebuild / bare);
    }
    return 0;
}
