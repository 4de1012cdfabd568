// A scripted demonstration for machines without a desktop: opens a few windows, panics with Ctrl+Space,
// brings them back with Ctrl+Backspace, and saves a screenshot after each step.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "HcProcess.h"
#include "TestSupport.h"

namespace {

int CountVisible(const std::vector<HWND>& windows) {
    return static_cast<int>(std::count_if(windows.begin(), windows.end(), [](HWND w) { return IsWindowVisible(w); }));
}

bool Step(int number, const std::wstring& folder, const wchar_t* name, const char* summary, bool ok) {
    const std::wstring shot = folder + L"\\" + std::to_wstring(number) + L"-" + name + L".bmp";
    hctest::SaveScreenshot(shot);
    std::printf("Step %d: %s%s\n", number, summary, ok ? "" : "  <-- not as expected");
    std::fflush(stdout);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring folder = argc > 1 ? argv[1] : hctest::BinFolder() + L"demo";
    CreateDirectoryW(folder.c_str(), nullptr);

    hctest::HcProcess hc;
    if (!hc.Start() || !hc.WaitUntilStarted()) {
        std::printf("HC.exe did not start\n");
        return 1;
    }
    hctest::WindowHelper helper;
    std::vector<HWND> windows;
    for (const wchar_t* title : {L"Budget 2027.xlsx", L"Private diary.txt", L"Chat with Sam"})
        windows.push_back(helper.Open(title));
    hctest::WaitUntil([&] { return CountVisible(windows) == 3; });
    Sleep(300);  // let the windows paint

    bool ok = Step(1, folder, L"before", "opened 3 demonstration windows: 3 of 3 visible", CountVisible(windows) == 3);

    hctest::PressKeys({VK_CONTROL}, VK_SPACE);
    hctest::WaitUntil([&] { return CountVisible(windows) == 0; });
    Sleep(300);
    ok &= Step(2, folder, L"hidden", "pressed Ctrl+Space: 0 of 3 visible, the programs still run",
               CountVisible(windows) == 0);

    hctest::PressKeys({VK_CONTROL}, VK_BACK);
    hctest::WaitUntil([&] { return CountVisible(windows) == 3; });
    Sleep(300);
    ok &= Step(3, folder, L"back", "pressed Ctrl+Backspace: 3 of 3 visible again", CountVisible(windows) == 3);

    hc.Stop();
    return ok ? 0 : 1;
}
