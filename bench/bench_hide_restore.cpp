// Hide-all and restore of 200 windows over three rounds, until the last window has changed, against bare
// EnumWindows + ShowWindow loops over the same windows (SW_HIDE, then SW_SHOWNOACTIVATE), in the same run;
// and hide-all with the journal of hidden windows in the registry against the same without it. Two layouts: the
// windows spread over 20 programs, and all of them in one program, whose one thread shows them all in turn.
#include <cstdio>

#include "BenchSupport.h"
#include "Doubles.h"
#include "engine/Journal.h"
#include "platform/Processes.h"
#include "settings/Conversions.h"

namespace {

constexpr int kWindows = 200;
constexpr int kRounds = 3;
constexpr int kRepeats = 5;

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

// Asks each window until it has changed, not all 200 on every pass, and sleeps between passes: a wait that spins
// takes a core and the window server from the very programs whose windows it waits for, and only the
// asynchronous side would pay for it, since the bare loop is done when its wait begins. Then waits until every
// program has handled all it was sent: a change posted to a program is done only once its program has drawn the
// consequences (the next window in turn activated, say), or the next round would pay for it.
void WaitAll(const std::vector<HWND>& windows, bool visible, int perProcess) {
    size_t next = 0;
    hctest::WaitUntil(
        [&] {
            while (next < windows.size() && (IsWindowVisible(windows[next]) != FALSE) == visible) ++next;
            return next == windows.size();
        },
        60000, 1);
    for (size_t first = 0; first < windows.size(); first += static_cast<size_t>(perProcess))
        SendMessageTimeoutW(windows[first], WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
}

double Timed(const std::function<void()>& run) {
    const double start = hcbench::NowMs();
    run();
    return hcbench::NowMs() - start;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median over the repeats of each round: [round] -> {hide, restore}.
struct Rounds {
    std::vector<double> hide[kRounds];
    std::vector<double> restore[kRounds];
};

void RunLayout(int perProcess) {
    hcbench::HelperWindows desktop(kWindows, perProcess);
    const std::vector<HWND>& windows = desktop.windows;
    hctest::CallLog log;
    hc::Win32WindowSystem system;
    hctest::EngineRig rig(system, log);
    hc::RegistryJournal registryJournal(hc::processes::BootTime());
    hc::WindowEngine journalled(hc::EngineParts{system, rig.processSystem, rig.visible, rig.settings, rig.shell,
                                                rig.switches, rig.cleanup, rig.prompt, registryJournal});
    // The first window has the foreground, as the user's window has at a panic.
    hctest::WaitUntil([&] { return SetForegroundWindow(windows.front()) && GetForegroundWindow() == windows.front(); });

    Rounds engine, bare, withJournal;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        for (int round = 0; round < kRounds; ++round) {
            engine.hide[round].push_back(Timed([&] {
                rig.engine.DoHideAllWindows(0);
                WaitAll(windows, false, perProcess);
            }));
            engine.restore[round].push_back(Timed([&] {
                rig.engine.RestoreWindows();
                WaitAll(windows, true, perProcess);
            }));
            log.clear();
        }
        for (int round = 0; round < kRounds; ++round) {
            withJournal.hide[round].push_back(Timed([&] {
                journalled.DoHideAllWindows(0);
                WaitAll(windows, false, perProcess);
            }));
            withJournal.restore[round].push_back(Timed([&] {
                journalled.RestoreWindows();
                WaitAll(windows, true, perProcess);
            }));
            log.clear();
        }
        for (int round = 0; round < kRounds; ++round) {
            BareLoop hideLoop{&windows, SW_HIDE};
            bare.hide[round].push_back(Timed([&] {
                EnumWindows(&BareShow, reinterpret_cast<LPARAM>(&hideLoop));
                WaitAll(windows, false, perProcess);
            }));
            BareLoop showLoop{&windows, SW_SHOWNOACTIVATE};
            bare.restore[round].push_back(Timed([&] {
                EnumWindows(&BareShow, reinterpret_cast<LPARAM>(&showLoop));
                WaitAll(windows, true, perProcess);
            }));
        }
    }

    std::printf("%d windows in %zu programs, medians of %d repeats of %d rounds (hide, restore, hide, ...)\n",
                kWindows, desktop.helpers.size(), kRepeats, kRounds);
    std::printf("%6s %10s %10s %7s %12s %10s %7s %14s %8s\n", "round", "hide ms", "bare ms", "ratio", "restore ms",
                "bare ms", "ratio", "journal hide", "ratio");
    for (int round = 0; round < kRounds; ++round) {
        const double hide = Median(engine.hide[round]);
        const double bareHide = Median(bare.hide[round]);
        const double restore = Median(engine.restore[round]);
        const double bareRestore = Median(bare.restore[round]);
        const double journalHide = Median(withJournal.hide[round]);
        std::printf("%6d %10.1f %10.1f %7.2f %12.1f %10.1f %7.2f %14.1f %8.2f\n", round + 1, hide, bareHide,
                    hide / bareHide, restore, bareRestore, restore / bareRestore, journalHide, journalHide / hide);
    }
    // The journal's own cost, apart from the noise of 200 windows changing: one write of 200 entries.
    hc::HiddenWindowList full;
    for (HWND window : windows) full.push_back(hc::HiddenWindow{window, L"", L"", 1, 1});
    const double save = hcbench::MedianMs(51, [&] { registryJournal.Save(full); });
    std::printf("journal write of %d entries: %.3f ms (median of 51)\n", kWindows, save);
    registryJournal.Save({});
}

}  // namespace

int main() {
    RunLayout(10);
    std::printf("\n");
    RunLayout(kWindows);
    return 0;
}
