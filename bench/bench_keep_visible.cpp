// Hide-all of 200 windows in 20 programs with a keep-visible list of 10 programs that none of them runs, against
// the same engine with an empty list, in the same run; and the matching alone over the listed windows.
#include <cstdio>

#include "BenchSupport.h"
#include "Doubles.h"
#include "settings/KeepVisible.h"

namespace {

constexpr int kWindows = 200;
constexpr int kRepeats = 7;

bool AllVisible(const std::vector<HWND>& windows, bool visible) {
    return std::all_of(windows.begin(), windows.end(),
                       [&](HWND w) { return (IsWindowVisible(w) != FALSE) == visible; });
}

// One hide-all until the last window has gone, then a restore (not timed) until all are back.
double HideAll(hc::WindowEngine& engine, const std::vector<HWND>& windows) {
    const double start = hcbench::NowMs();
    engine.DoHideAllWindows(0);
    hctest::WaitUntil([&] { return AllVisible(windows, false); }, 60000, 0);
    const double took = hcbench::NowMs() - start;
    engine.RestoreWindows();
    hctest::WaitUntil([&] { return AllVisible(windows, true); }, 60000, 0);
    return took;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    hcbench::HelperWindows desktop(kWindows, 10);
    const std::vector<HWND>& windows = desktop.windows;
    hctest::CallLog log;
    hc::Win32WindowSystem system;
    hctest::EngineRig rig(system, log);
    std::vector<std::wstring> kept;
    for (int i = 0; i < 10; ++i) kept.push_back(L"C:\\Programs\\player" + std::to_wstring(i) + L".exe");

    std::vector<double> without, with;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        // Taking turns at going first, so neither side always meets the windows freshly shown.
        for (int side = 0; side < 2; ++side) {
            const bool withList = (side + repeat) % 2 == 1;
            rig.settings.KeepVisible = withList ? kept : std::vector<std::wstring>{};
            (withList ? with : without).push_back(HideAll(rig.engine, windows));
        }
        log.clear();
    }
    std::printf("%d windows in %zu programs, medians of %d repeats\n", kWindows, desktop.helpers.size(), kRepeats);
    std::printf("hide-all, empty list: %.1f ms; with 10 programs kept: %.1f ms; ratio %.2f\n", Median(without),
                Median(with), Median(with) / Median(without));

    rig.visible.DoGetWindows();
    const auto& listed = rig.visible.Entries();
    size_t matches = 0;
    const double match = hcbench::MedianMs(51, [&] {
        for (const hc::VisibleWindow& entry : listed) matches += hc::IsKeptVisible(kept, entry.processPath);
    });
    std::printf("matching %zu listed windows against 10 programs: %.3f ms (median of 51; %zu matches)\n", listed.size(),
                match, matches);
    return 0;
}
