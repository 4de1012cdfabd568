#include "TrayDriver.h"

#include <algorithm>

#include "TestSupport.h"

namespace hctest {

namespace {
void SendMouse(DWORD flags, POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(input));
}

POINT Centre(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return POINT{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
}

BOOL CALLBACK CollectIcon(HWND child, LPARAM context) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpW(name, L"__winex11_tray_icon") == 0 && IsWindowVisible(child))
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
    return TRUE;
}

HWND VisiblePopupMenu() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}
}  // namespace

HWND WineTrayWindow() { return FindWindowW(L"__winex11_standalone_tray", nullptr); }

std::vector<HWND> TrayIcons() {
    std::vector<HWND> icons;
    HWND tray = WineTrayWindow();
    if (!tray || !IsWindowVisible(tray)) return icons;
    EnumChildWindows(tray, &CollectIcon, reinterpret_cast<LPARAM>(&icons));
    std::sort(icons.begin(), icons.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return icons;
}

bool WaitForTrayIconCount(size_t count, DWORD timeoutMs) {
    return WaitUntil([&] { return TrayIcons().size() == count; }, timeoutMs);
}

void RightClick(HWND icon) {
    const POINT at = Centre(icon);
    SendMouse(0, at);
    SendMouse(MOUSEEVENTF_RIGHTDOWN, at);
    SendMouse(MOUSEEVENTF_RIGHTUP, at);
}

namespace {
void LeftClicks(HWND icon, int clicks) {
    const POINT at = Centre(icon);
    SendMouse(0, at);
    for (int click = 0; click < clicks; ++click) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, at);
        SendMouse(MOUSEEVENTF_LEFTUP, at);
    }
}
}  // namespace

void LeftClick(HWND icon) { LeftClicks(icon, 1); }
void DoubleClick(HWND icon) { LeftClicks(icon, 2); }

HWND WaitForPopupMenu(DWORD timeoutMs) { return WaitForMenuLoop(timeoutMs); }

bool WaitUntilNoPopupMenu(DWORD timeoutMs) {
    return WaitUntil([] { return VisiblePopupMenu() == nullptr; }, timeoutMs);
}

HWND OpenTrayMenu() {
    const auto icons = TrayIcons();
    if (icons.empty()) return nullptr;
    RightClick(icons.front());
    return WaitForPopupMenu();
}

void PressSequence(std::initializer_list<WORD> keys) {
    for (WORD key : keys) PressKeys({}, key);
}

namespace {
std::vector<BYTE> ScreenArea(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    std::vector<BYTE> pixels;
    if (width <= 0 || height <= 0) return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    pixels.resize(static_cast<size_t>(width) * height * 4);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}
}  // namespace

bool WaitUntilPainted(HWND window, DWORD timeoutMs) {
    RECT area{};
    GetWindowRect(window, &area);
    std::vector<BYTE> last = ScreenArea(area);
    int unchanged = 0;
    // Three samples alike, 100 ms apart.
    return WaitUntil(
        [&] {
            std::vector<BYTE> now = ScreenArea(area);
            unchanged = now == last ? unchanged + 1 : 0;
            last = std::move(now);
            return unchanged >= 3;
        },
        timeoutMs, 100);
}

bool AnswerWith(HWND box, int buttonId) {
    if (!box || !ClickButton(box, buttonId)) return false;
    return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

bool FakeRunKeys::Write(hc::RunScope scope, const std::wstring& name, const std::wstring& command) {
    if (refused.count(scope)) return false;
    values[{scope, name}] = command;
    return true;
}

bool FakeRunKeys::Delete(hc::RunScope scope, const std::wstring& name) {
    if (refused.count(scope) && Exists(scope, name)) return false;
    values.erase({scope, name});
    return true;
}

}  // namespace hctest
