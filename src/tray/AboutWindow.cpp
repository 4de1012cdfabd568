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

// Placed by Layout once the fonts are known; the table gives the controls and their order.
const ControlRow kAboutControls[] = {
    {L"STATIC", kProductName, TAbout_f::kIdLabel3, SS_CENTER, 0, 0, 10, 10},
    {L"STATIC", TAbout_f::kMakerLine, TAbout_f::kIdLabel2, SS_CENTER, 0, 0, 10, 10},
    {L"BUTTON", L"Close", TAbout_f::kIdSpeedButton1, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 10, 10},
};

HWND CreateAboutDialog(HWND owner) {
    RegisterDialogClass(TAbout_f::kClassName);
    const DialogTemplate layout(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, 120, 60, TAbout_f::kCaption, kAboutControls,
                                TAbout_f::kClassName);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), layout.get(), owner, &DialogProcFor<TAbout_f>, 0);
}

void Place(HWND dialog, int id, RECT at, HFONT font) {
    const HWND control = GetDlgItem(dialog, id);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveWindow(control, at.left, at.top, at.right - at.left, at.bottom - at.top, FALSE);
}
}  // namespace

TAbout_f::TAbout_f(HWND owner) : font_(Verdana(9, false)), titleFont_(Verdana(14, true)) {
    hwnd_ = CreateAboutDialog(owner);
    if (!hwnd_) return;
    Layout();
    SetWindowLongPtrW(hwnd_, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
}

TAbout_f::~TAbout_f() {
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
}

void TAbout_f::Layout() {
    const SIZE title = TextSize(titleFont_.get(), kProductName);
    const SIZE maker = TextSize(font_.get(), kMakerLine);
    const int inner = std::max({static_cast<int>(title.cx), static_cast<int>(maker.cx), kButtonWidth});
    const int width = inner + 2 * kMargin;

    RECT at{kMargin, kMargin, kMargin + inner, kMargin + title.cy};
    Place(hwnd_, kIdLabel3, at, titleFont_.get());
    at = {kMargin, at.bottom + kGap, kMargin + inner, at.bottom + kGap + maker.cy};
    Place(hwnd_, kIdLabel2, at, font_.get());
    const int buttonLeft = (width - kButtonWidth) / 2;
    at = {buttonLeft, at.bottom + 2 * kGap, buttonLeft + kButtonWidth, at.bottom + 2 * kGap + kButtonHeight};
    Place(hwnd_, kIdSpeedButton1, at, font_.get());

    // The frame around the client area, centred on the screen.
    RECT frame{0, 0, width, at.bottom + kMargin};
    AdjustWindowRectEx(&frame, GetWindowLongW(hwnd_, GWL_STYLE), FALSE, GetWindowLongW(hwnd_, GWL_EXSTYLE));
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - frameWidth) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - frameHeight) / 2, frameWidth, frameHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAbout_f::ShowModal() {
    if (!hwnd_ || modalResult_ != 0) return;
    // No owner to disable: the tray menu and the hotkeys stay usable meanwhile.
    RunModal(hwnd_, nullptr, modalResult_);
}

void TAbout_f::Close() {
    modalResult_ = IDCANCEL;
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_HIDE);
    // Wakes the loop so it sees the result even when nothing else arrives.
    PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void TAbout_f::BringToFront() {
    if (!hwnd_) return;
    SetForegroundWindow(hwnd_);
    if (HWND button = GetDlgItem(hwnd_, kIdSpeedButton1)) SetFocus(button);
}

INT_PTR TAbout_f::OnMessage(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) != kIdSpeedButton1) return FALSE;
            Close();
            return TRUE;
        case WM_CLOSE:
            Close();
            return TRUE;
        default:
            return FALSE;
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
