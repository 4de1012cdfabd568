#include "platform/WindowSystem.h"

#include <dwmapi.h>

namespace hc {

namespace {
BOOL CALLBACK CollectWindow(HWND window, LPARAM context) noexcept {
    auto* windows = reinterpret_cast<std::vector<HWND>*>(context);
    try {
        windows->push_back(window);
    } catch (...) {
        return FALSE;  // out of memory: stop with what we have
    }
    return TRUE;
}
}  // namespace

std::vector<HWND> Win32WindowSystem::TopLevelWindows() {
    shellWindows_.clear();
    // The desktop, its wallpaper layer, the taskbars, and the notification area Wine shows without a shell.
    for (const wchar_t* shell :
         {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"__winex11_standalone_tray"})
        for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, shell, nullptr)) != nullptr;)
            shellWindows_.emplace_back(found, shell);
    std::vector<HWND> windows;
    windows.reserve(512);
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring Win32WindowSystem::Title(HWND window) {
    wchar_t buffer[kMaxTitleLength + 1] = {};
    const int length = GetWindowTextW(window, buffer, kMaxTitleLength + 1);
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

void Win32WindowSystem::ReadFacts(HWND window, WindowFacts& facts) {
    facts.owner = GetWindow(window, GW_OWNER);
    // An untitled window that nobody owns is neither listed nor anyone's pop-up: nothing more to read.
    if (facts.title.empty() && !facts.owner) return;
    facts.processId = ProcessId(window);
    // The rules never touch a window of ours.
    if (facts.processId == GetCurrentProcessId()) return;
    for (const auto& [shell, className] : shellWindows_)
        if (shell == window) facts.className = className;
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    facts.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
    // Only a tool window's title bar matters to the rules.
    facts.hasCaption = !facts.toolWindow || (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    DWORD cloaked = 0;
    // Systems without a compositor answer with an error: nothing is cloaked there.
    facts.cloaked = SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked))) && cloaked;
}

bool Win32WindowSystem::IsVisible(HWND window) { return IsWindowVisible(window) != FALSE; }

bool Win32WindowSystem::Exists(HWND window) { return IsWindow(window) != FALSE; }

DWORD Win32WindowSystem::ProcessId(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

HWND Win32WindowSystem::Foreground() { return GetForegroundWindow(); }

void Win32WindowSystem::HideAsync(HWND window) { ShowWindowAsync(window, SW_HIDE); }

void Win32WindowSystem::ShowAsync(HWND window, int showCommand) { ShowWindowAsync(window, showCommand); }

void Win32WindowSystem::ShowActivatedAsync(HWND window) {
    // The program holds the foreground right after a key press; it hands that right on to the window's program.
    AllowSetForegroundWindow(ProcessId(window));
    ShowWindowAsync(window, SW_SHOW);
}

bool Win32WindowSystem::PostClose(HWND window) { return PostMessageW(window, WM_CLOSE, 0, 0) != FALSE; }

bool Win32WindowSystem::BringToFront(HWND window) { return SetForegroundWindow(window) != FALSE; }

}  // namespace hc
