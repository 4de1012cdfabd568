#include "platform/WindowSystem.h"

#include <dwmapi.h>

namespace hc {

namespace {
// Named by an atom added once: a property named by a text adds an atom reference for every window it marks.
const wchar_t* HoldsWorkProperty() {
    static const ATOM atom = GlobalAddAtomW(L"Hushcloak.HoldsWork");
    return MAKEINTATOM(atom);
}

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

namespace {
// Neither moves, sizes, restacks nor activates the window, and none waits on its program. The program is not asked
// about a move that does not happen, and the background is erased when the window paints, not in a message of its
// own per window: with 200 windows of one program, that halved the time its one thread took to show them.
constexpr UINT kInPlace = SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                          SWP_NOSENDCHANGING | SWP_DEFERERASE | SWP_ASYNCWINDOWPOS;
}  // namespace

void Win32WindowSystem::HideInPlaceAsync(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | kInPlace);
}

bool Win32WindowSystem::ShowAsync(HWND window, int showCommand) {
    // On a window of this thread the call runs at once and answers whether the window was visible before.
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        ShowWindow(window, showCommand);
        return true;
    }
    return ShowWindowAsync(window, showCommand) != FALSE;
}

bool Win32WindowSystem::ShowActivatedAsync(HWND window) {
    // The program holds the foreground right after a key press; it hands that right on to the window's program.
    AllowSetForegroundWindow(ProcessId(window));
    return ShowAsync(window, SW_SHOW);
}

bool Win32WindowSystem::ShowInPlaceAsync(HWND window) {
    // In its own state: a maximised or minimised window stays so, where ShowWindow would have to be told which.
    return SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | kInPlace) != FALSE;
}

bool Win32WindowSystem::PostClose(HWND window) { return PostMessageW(window, WM_CLOSE, 0, 0) != FALSE; }

bool Win32WindowSystem::BringToFront(HWND window) { return SetForegroundWindow(window) != FALSE; }

std::vector<HWND> Win32WindowSystem::OwnTopLevelWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool Win32WindowSystem::HoldsWork(HWND window) { return GetPropW(window, HoldsWorkProperty()) != nullptr; }

void Win32WindowSystem::HoldWork(HWND window, bool held) {
    // Only ever one of our own windows: the message runs here and now.
    SendMessageW(window, HoldWorkMessage(), held ? 1 : 0, 0);
}

UINT HoldWorkMessage() {
    static const UINT message = RegisterWindowMessageW(L"Hushcloak.HoldWork");
    return message;
}

void Win32WindowSystem::CloseAsCancel(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    // An open menu ends as Escape ends it; closing its window would pull it from under the menu's own loop.
    if (lstrcmpW(className, L"#32768") == 0) {
        EndMenu();
        return;
    }
    // Only ever one of our own windows: a sent message runs here and now, and cannot hang on anyone.
    SendMessageW(window, WM_CLOSE, 0, 0);
}

void PrepareCloakingQuery(HWND window) {
    DWORD cloaked = 0;
    // The answer is of no use here; a compositor that refuses is refused again at the panic.
    (void)DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked));
}

void MarkAsHoldingWork(HWND window) {
    // Never removed: the window manager drops it with the window, and its value is no handle to free.
    SetPropW(window, HoldsWorkProperty(), reinterpret_cast<HANDLE>(1));
}

}  // namespace hc
