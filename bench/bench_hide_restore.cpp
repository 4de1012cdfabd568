// Hide-all and restore, from the call until the last window has changed, against bare ShowWindow loops.
#include <cstdio>

#include "BenchSupport.h"
#include "Doubles.h"

namespace {

struct BareLoop {
    const std::vector<HWND>* windows;
    int command;
};

BOOL CALLBACK BareShow(HWND window, LPARAM context) {
    auto* loop = reinterpret_cast<BareLoop*>(context);
    if (std::find(loop->windows->begin(), loop->windows->end(), window) != loop->windows->end())
        ShowWindow(window, loop->command);
    return TRUE;
}

bool AllVisible(const std::vector<HWND>& windows, bool visible) {
    for (HWND w : windows)
        if ((IsWindowVisible(w) != FALSE) != visible) return false;
    return true;
}

void WaitAll(const std::vector<HWND>& windows, bool visible) {
    while (!AllVisible(windows, visible)) Sleep(0);
}

void ShowAll(const std::vector<HWND>& windows) {
    for (HWND w : windows) ShowWindow(w, SW_SHOW);
    WaitAll(windows, true);
}

}  // namespace

int main() {
    constexpr int kRuns = 15;
    std::printf("hide-all / restore until the last window changed vs bare EnumWindows + ShowWindow loops\n");
    std::printf("%8s %12s %12s %8s %12s %12s %8s\n", "windows", "hide ms", "bare ms", "ratio", "restore ms",
                "bare ms", "ratio");
    for (int count : {50, 200}) {
        hcbench::HelperWindows desktop(count, 10);
        const std::vector<HWND>& windows = desktop.windows;
        hctest::CallLog log;
        hc::Win32WindowSystem system;
        hctest::EngineRig rig(system, log);
        hc::WindowEngine& engine = rig.engine;
        rig.visible.DoGetWindows();

        const double hide = hcbench::MedianMs(
            kRuns,
            [&] {
                engine.DoHideAllWindows(0);
                WaitAll(windows, false);
            },
            [&] {
                engine.RestoreWindows();
                ShowAll(windows);
                log.clear();
            });
        BareLoop hideLoop{&windows, SW_HIDE};
        const double bareHide = hcbench::MedianMs(
            kRuns, [&] { EnumWindows(&BareShow, reinterpret_cast<LPARAM>(&hideLoop)); }, [&] { ShowAll(windows); });

        const double restore = hcbench::MedianMs(
            kRuns,
            [&] {
                engine.RestoreWindows();
                WaitAll(windows, true);
            },
            [&] {
                engine.DoHideAllWindows(0);
                WaitAll(windows, false);
            });
        BareLoop showLoop{&windows, SW_SHOW};
        const double bareRestore = hcbench::MedianMs(
            kRuns, [&] { EnumWindows(&BareShow, reinterpret_cast<LPARAM>(&showLoop)); },
            [&] {
                for (HWND w : windows) ShowWindow(w, SW_HIDE);
            });
        ShowAll(windows);
        std::printf("%8d %12.2f %12.2f %8.2f %12.2f %12.2f %8.2f\n", count, hide, bareHide, hide / bareHide, restore,
                    bareRestore, restore / bareRestore);
    }
    return 0;
}
