#include "tray/AboutWindow.h"

#include <algorithm>

#include "settings/Configuration.h"

namespace hc {

namespace {
constexpr int kMargin = 16;
constexpr int kGap = 10;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

UniqueFont Verdana(int points, bool bold) {
    HDC screen = GetDC(nullptr);
    LOGFONTW font{};
    font.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, L"Verdana", LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&font));
}

// The text's size in the font, for labels that neither clip nor leave a gap in substituted fonts.
SIZE TextSize(HFONT font, const wchar_t* text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size{};
    GetTextExtentPoint32W(screen, text, lstrlenW(text), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return size;
}

HWND AddControl(HWND parent, const wchar_t* className, const wchar_t* text, int id, DWORD style, RECT at, HFONT font) {
    HWND control = CreateWindowExW(
        0, className, text, style | WS_CHILD | WS_VISIBLE, at.left, at.top, at.right - at.left, at.bottom - at.top,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}
}  // namespace

TAbout_f::TAbout_f(HWND owner) : font_(Verdana(9, false)), titleFont_(Verdana(14, true)) {
    RegisterWindowClass(kClassName, nullptr, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    CreateWindowFor(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName, kCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    0, 0, 0, 0, owner);
    if (hwnd) CreateControls();
}

TAbout_f::~TAbout_f() {
    if (hwnd) DestroyWindow(hwnd);
}

void TAbout_f::CreateControls() {
    const SIZE title = TextSize(titleFont_.get(), kProductName);
    const SIZE maker = TextSize(font_.get(), kMakerLine);
    const int inner = std::max({static_cast<int>(title.cx), static_cast<int>(maker.cx), kButtonWidth});
    const int width = inner + 2 * kMargin;

    RECT at{kMargin, kMargin, kMargin + inner, kMargin + title.cy};
    AddControl(hwnd, L"STATIC", kProductName, kIdLabel3, SS_CENTER, at, titleFont_.get());
    at = {kMargin, at.bottom + kGap, kMargin + inner, at.bottom + kGap + maker.cy};
    AddControl(hwnd, L"STATIC", kMakerLine, kIdLabel2, SS_CENTER, at, font_.get());
    const int buttonLeft = (width - kButtonWidth) / 2;
    at = {buttonLeft, at.bottom + 2 * kGap, buttonLeft + kButtonWidth, at.bottom + 2 * kGap + kButtonHeight};
    AddControl(hwnd, L"BUTTON", L"Close", kIdSpeedButton1, BS_DEFPUSHBUTTON | WS_TABSTOP, at, font_.get());

    // The frame around the client area, centred on the screen.
    RECT frame{0, 0, width, at.bottom + kMargin};
    AdjustWindowRectEx(&frame, GetWindowLongW(hwnd, GWL_STYLE), FALSE, GetWindowLongW(hwnd, GWL_EXSTYLE));
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - frameWidth) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - frameHeight) / 2, frameWidth, frameHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAbout_f::ShowModal() {
    if (!hwnd) return;
    ShowWindow(hwnd, SW_SHOW);
    BringToFront();
    MSG msg{};
    while (!closed_ && hwnd) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop ends the program
            return;
        }
        if (got == -1) return;
        if (!IsDialogMessageW(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void TAbout_f::Close() {
    closed_ = true;
    if (hwnd) ShowWindow(hwnd, SW_HIDE);
    // Wakes the loop so it sees the flag even when nothing else arrives.
    if (hwnd) PostMessageW(hwnd, WM_NULL, 0, 0);
}

void TAbout_f::BringToFront() {
    if (!hwnd) return;
    SetForegroundWindow(hwnd);
    if (HWND button = GetDlgItem(hwnd, kIdSpeedButton1)) SetFocus(button);
}

LRESULT TAbout_f::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == kIdSpeedButton1) Close();
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

void AboutBox::About1Click() {
    if (open_) {
        open_->BringToFront();
        return;
    }
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    TAbout_f about(owner_);
    SetCursor(previous);
    open_ = &about;
    about.ShowModal();
    open_ = nullptr;
}

void AboutBox::CloseIfOpen() {
    if (open_) open_->Close();
}

}  // namespace hc
