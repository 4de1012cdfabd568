#include "app/SplashWindow.h"

#include "settings/Configuration.h"
#include "ui/ResourceIds.h"

namespace hc {

namespace {
constexpr int kWidth = 480;
constexpr int kHeight = 170;

HFONT MakeBoldFont(int height) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWeight = FW_BOLD;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}
}  // namespace

TSplash_f::TSplash_f(bool isSilent) : isSilent_(isSilent) {
    RegisterWindowClass(kClassName, nullptr, LoadCursorW(nullptr, IDC_WAIT),
                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    // A tool window: no taskbar button, no task switcher entry.
    CreateWindowFor(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, kCaption, WS_POPUP | WS_BORDER, x, y, kWidth,
                    kHeight);
}

void TSplash_f::ShowUnlessSilent() {
    if (isSilent_ || !hwnd) return;
    // Only a splash that shows needs its fonts and picture.
    titleFont_.reset(MakeBoldFont(26));
    textFont_.reset(MakeBoldFont(14));
    picture_ = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 48, 48, LR_SHARED));
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    PaintNow();
}

void TSplash_f::PaintNow() {
    if (hwnd && !isSilent_) {
        InvalidateRect(hwnd, nullptr, TRUE);
        UpdateWindow(hwnd);
    }
}

void TSplash_f::Paint(HDC dc) {
    RECT client{};
    GetClientRect(hwnd, &client);
    if (picture_) DrawIconEx(dc, 24, (client.bottom - 48) / 2, picture_, 48, 48, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x1f, 0x3a, 0x5f));
    RECT title{92, 36, client.right - 12, 84};
    HGDIOBJ old = SelectObject(dc, titleFont_.get());
    DrawTextW(dc, kProductName, -1, &title, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, textFont_.get());
    RECT loading{92, 96, client.right - 12, 124};
    DrawTextW(dc, L"Loading...", -1, &loading, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, old);
}

LRESULT TSplash_f::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return Default(msg, wp, lp);
}

}  // namespace hc
