#include "PanicDriver.h"

#include "TestSupport.h"

namespace hctest {

HWND WaitForPanicButton(DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            const auto windows = WindowsOf(processId, L"TPanic_f");
            found = windows.empty() ? nullptr : windows.front();
            return found && IsWindowVisible(found);
        },
        timeoutMs);
    return found && IsWindowVisible(found) ? found : nullptr;
}

HWND PanicButtonControl(HWND panic) { return FindWindowExW(panic, nullptr, L"Button", nullptr); }

std::wstring PanicCaption(HWND panic) {
    wchar_t text[512] = {};
    GetWindowTextW(PanicButtonControl(panic), text, 512);
    return text;
}

RECT ClientRectOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

void ClickMiddleOf(HWND window, bool rightButton) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int x = (frame.left + frame.right) / 2 - GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = (frame.top + frame.bottom) / 2 - GetSystemMetrics(SM_YVIRTUALSCREEN);
    INPUT inputs[3]{};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dx = x * 65535 / (GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1);
    inputs[0].mi.dy = y * 65535 / (GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    inputs[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

namespace {
// True once the window's area on screen holds more than one colour: its text has been drawn.
bool LooksPainted(HWND window) {
    const RECT area = ClientRectOnScreen(window);
    HDC screen = GetDC(nullptr);
    COLORREF first = GetPixel(screen, area.left + 1, area.top + 1);
    bool varied = false;
    for (int y = area.top; y < area.bottom && !varied; y += 2)
        for (int x = area.left; x < area.right && !varied; x += 2) varied = GetPixel(screen, x, y) != first;
    ReleaseDC(nullptr, screen);
    return varied;
}
}  // namespace

bool OpenPanicMenu(HWND panic) {
    ClickMiddleOf(panic, true);
    HWND menu = WaitForMenuLoop();
    return menu && WaitUntil([&] { return LooksPainted(menu); });
}

bool ChoosePanicMenuItem(HWND panic, int item) {
    if (!OpenPanicMenu(panic)) return false;
    for (int i = 0; i < item; ++i) PressKeys({}, VK_DOWN);
    PressKeys({}, VK_RETURN);
    return WaitUntil([] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return !menu || !IsWindowVisible(menu);
    });
}

void SaveShot(const std::wstring& name, HWND shown) {
    if (shown) WaitUntil([&] { return LooksPainted(shown); }, 2000);
    const std::wstring folder = BinFolder() + L"..\\shots";
    CreateDirectoryW(folder.c_str(), nullptr);
    SaveScreenshot(folder + L"\\" + name + L".bmp");
}

}  // namespace hctest
