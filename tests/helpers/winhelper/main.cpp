// Opens top-level windows with given titles on demand, so tests have real windows of another process.
#include <windows.h>

#include <map>
#include <string>

#include "Protocol.h"

namespace {

HWND g_control = nullptr;
DWORD g_hungableThreadId = 0;
HANDLE g_hungableReady = nullptr;
HWND g_lastHungable = nullptr;
LONG g_closeRequests = 0;
int g_opened = 0;
LONG g_showCount = 0;
std::map<HWND, LONG> g_shownAt;
CRITICAL_SECTION g_lock;
constexpr UINT kMsgOpenHere = WM_APP + 1;
constexpr UINT kMsgHang = WM_APP + 2;

LRESULT CALLBACK WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) InterlockedIncrement(&g_closeRequests);
    if (msg == WM_PAINT) {
        // The title in the window too, so screenshots show which window is which.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        wchar_t title[256] = {};
        GetWindowTextW(h, title, 256);
        RECT client;
        GetClientRect(h, &client);
        FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        DrawTextW(dc, title, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        EndPaint(h, &ps);
        return 0;
    }
    // Every way of showing a window ends here, also one that sends no WM_SHOWWINDOW (SetWindowPos).
    if (msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW)) {
        EnterCriticalSection(&g_lock);
        g_shownAt[h] = ++g_showCount;
        LeaveCriticalSection(&g_lock);
    }
    return DefWindowProcW(h, msg, wp, lp);
}

HWND OpenWindow(const std::wstring& title) {
    const int slot = g_opened++ % 40;
    return CreateWindowExW(0, winhelper::kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           20 + slot * 28, 20 + slot * 22, 240, 120, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

DWORD WINAPI HungableThread(LPVOID) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // create the queue before anyone posts
    SetEvent(g_hungableReady);
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == kMsgOpenHere) {
            auto* title = reinterpret_cast<std::wstring*>(msg.lParam);
            g_lastHungable = OpenWindow(*title);
            SetEvent(g_hungableReady);
            continue;
        }
        if (msg.hwnd == nullptr && msg.message == kMsgHang) {
            Sleep(static_cast<DWORD>(msg.wParam));  // stops pumping: every window of this thread hangs
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

LRESULT OnCommand(const COPYDATASTRUCT& data) {
    std::wstring text;
    if (data.lpData && data.cbData >= sizeof(wchar_t))
        text.assign(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    switch (data.dwData) {
        case winhelper::kOpen:
            return reinterpret_cast<LRESULT>(OpenWindow(text));
        case winhelper::kOpenHungable:
            if (!g_hungableThreadId) {
                g_hungableReady = CreateEventW(nullptr, FALSE, FALSE, nullptr);
                CreateThread(nullptr, 0, &HungableThread, nullptr, 0, &g_hungableThreadId);
                WaitForSingleObject(g_hungableReady, 5000);
            }
            PostThreadMessageW(g_hungableThreadId, kMsgOpenHere, 0, reinterpret_cast<LPARAM>(&text));
            WaitForSingleObject(g_hungableReady, 5000);
            return reinterpret_cast<LRESULT>(g_lastHungable);
        case winhelper::kHang:
            return PostThreadMessageW(g_hungableThreadId, kMsgHang, static_cast<WPARAM>(std::stoul(text)), 0);
        case winhelper::kQuit:
            PostQuitMessage(0);
            return 1;
        case winhelper::kCloseRequests:
            return g_closeRequests;
        case winhelper::kShownSequence: {
            EnterCriticalSection(&g_lock);
            auto found = g_shownAt.find(reinterpret_cast<HWND>(std::stoull(text)));
            const LONG at = found == g_shownAt.end() ? 0 : found->second;
            LeaveCriticalSection(&g_lock);
            return at;
        }
        case winhelper::kForeground:
            return SetForegroundWindow(reinterpret_cast<HWND>(std::stoull(text)));
        case winhelper::kOpenPopup: {
            const HWND owner = reinterpret_cast<HWND>(std::stoull(text));
            RECT frame{};
            GetWindowRect(owner, &frame);
            return reinterpret_cast<LRESULT>(CreateWindowExW(0, winhelper::kWindowClass, L"", WS_POPUP | WS_BORDER | WS_VISIBLE,
                                                             frame.left + 20, frame.top + 40, 120, 60, owner, nullptr,
                                                             GetModuleHandleW(nullptr), nullptr));
        }
        default:
            return 0;
    }
}

LRESULT CALLBACK ControlProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        try {
            return OnCommand(*reinterpret_cast<const COPYDATASTRUCT*>(lp));
        } catch (...) {
            return 0;
        }
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    InitializeCriticalSection(&g_lock);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = winhelper::kWindowClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = &ControlProc;
    wc.lpszClassName = winhelper::kControlClass;
    RegisterClassExW(&wc);

    // Hidden, so it never shows up in a list of visible windows; its title carries the token the test chose.
    const std::wstring title = std::wstring(winhelper::kControlClass) + L" " + commandLine;
    g_control = CreateWindowExW(WS_EX_TOOLWINDOW, winhelper::kControlClass, title.c_str(), WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, instance, nullptr);
    if (!g_control) return 2;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (g_hungableThreadId) PostThreadMessageW(g_hungableThreadId, WM_QUIT, 0, 0);
    return 0;
}
