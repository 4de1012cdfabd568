// The least a panic program can be: one hidden window, the two hotkeys, and on Ctrl+Space every visible titled
// window of another process hidden without waiting on it. The start-up benchmark measures HC.exe against it.
#include <windows.h>

namespace {

constexpr int kHideId = 1;
constexpr int kUnhideId = 2;

BOOL CALLBACK HideOne(HWND window, LPARAM) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t title[2];
    if (processId != GetCurrentProcessId() && IsWindowVisible(window) && GetWindowTextW(window, title, 2) > 0)
        ShowWindowAsync(window, SW_HIDE);
    return TRUE;
}

LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_HOTKEY:
            if (wp == kHideId) EnumWindows(&HideOne, 0);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            UnregisterHotKey(window, kHideId);
            UnregisterHotKey(window, kUnhideId);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, msg, wp, lp);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MinimalPanic";
    if (!RegisterClassExW(&wc)) return 1;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"MinimalPanic", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    if (!RegisterHotKey(window, kHideId, MOD_CONTROL, VK_SPACE) ||
        !RegisterHotKey(window, kUnhideId, MOD_CONTROL, VK_BACK))
        return 2;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
