// From the process start to the first Ctrl+Space that hides a window: HC.exe (silent and with its splash and main
// window) against a minimal program with one window and the two hotkeys, built beside this benchmark. The starts
// take turns, so a busy moment of the machine falls on all of them alike. Every start is printed.
#include <cstdio>

#include "BenchSupport.h"
#include "HcProcess.h"

namespace {

constexpr int kStarts = 5;
constexpr DWORD kGiveUpMs = 20000;

struct Program {
    const char* name;
    std::wstring path;
    const wchar_t* silent;  // the stored "Tray" value for HC.exe; null for the minimal program
    std::vector<double> times;
};

void ClearStore(const wchar_t* silent) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"HushCloak");
    if (!silent) return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"HushCloak\\StartUp", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr))
        return;
    RegSetValueExW(key, L"Tray", 0, REG_SZ, reinterpret_cast<const BYTE*>(silent),
                   static_cast<DWORD>((wcslen(silent) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void EndProgram(HANDLE process, DWORD processId) {
    // The controller of HC.exe or the minimal program's window: closing it ends either without a question.
    for (const wchar_t* cls : {L"TForm2", L"MinimalPanic"})
        for (HWND window : hctest::WindowsOf(processId, cls)) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
}

// Milliseconds from CreateProcess to the window being hidden by a Ctrl+Space; negative when it never was.
double TimeToFirstPanic(Program& program, HWND target) {
    ClearStore(program.silent);
    ShowWindow(target, SW_SHOWNOACTIVATE);
    hctest::WaitUntil([&] { return IsWindowVisible(target) != FALSE; });
    const double start = hcbench::NowMs();
    DWORD processId = 0;
    HANDLE process = hctest::StartProcess(program.path, L"", &processId, hctest::BinFolder());
    if (!process) return -1;
    double hiddenAt = -1;
    while (hcbench::NowMs() - start < kGiveUpMs) {
        // Not PressKeys: its wait for every window to answer would wait on the very start-up being measured.
        hctest::SendKeys({VK_CONTROL}, VK_SPACE);
        if (hctest::WaitUntil([&] { return !IsWindowVisible(target); }, 4, 1)) {
            hiddenAt = hcbench::NowMs() - start;
            break;
        }
    }
    EndProgram(process, processId);
    CloseHandle(process);
    return hiddenAt;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    hctest::WindowHelper helper;
    const HWND target = helper.Open(L"Start-up bench window");
    std::vector<Program> programs{{"minimal program", hctest::BinFolder() + L"minimal_panic.exe", nullptr, {}},
                                  {"HC.exe, silent start", hctest::HcExePath(), L"1", {}},
                                  {"HC.exe, splash and main window", hctest::HcExePath(), L"0", {}}};
    // One start of each first, not counted: the first start of a program reads its files from disk.
    for (Program& program : programs) TimeToFirstPanic(program, target);
    for (int start = 0; start < kStarts; ++start)
        for (Program& program : programs) program.times.push_back(TimeToFirstPanic(program, target));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"HushCloak");

    std::printf("process start to the first Ctrl+Space that hides a window, %d starts each, taking turns\n", kStarts);
    const double bare = Median(programs.front().times);
    for (const Program& program : programs) {
        std::printf("%-32s", program.name);
        for (double ms : program.times) std::printf(" %7.1f", ms);
        const double median = Median(program.times);
        std::printf("   median %7.1f ms   ratio %5.2f\n", median, median / bare);
    }
    return 0;
}
