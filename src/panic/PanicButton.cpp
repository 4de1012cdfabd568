#include "panic/PanicButton.h"

#include <algorithm>

#include "engine/Dispatcher.h"
#include "engine/WindowEngine.h"
#include "panic/PanicRules.h"
#include "panic/RenameBox.h"
#include "platform/Monitors.h"
#include "settings/Settings.h"

namespace hc {

namespace {
bool TracksActiveWindow(int action) { return action == 1 || action == 3; }

HMENU CreatePopupMenu1() {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    AppendMenuW(menu, MF_STRING, TPanic_f::kIdPbCaption, L"Change Description");
    AppendMenuW(menu, MF_STRING, TPanic_f::kIdMoveBTn, L"Move to new location");
    AppendMenuW(menu, MF_STRING, TPanic_f::kIdOpenmainwindow1, L"Open main window");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, TPanic_f::kIdRestorehiddenwindows1, L"Restore hidden windows");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, TPanic_f::kIdClose1, L"Hide the Panic button");
    AppendMenuW(menu, MF_STRING, TPanic_f::kIdCloseHushcloakPrivacy1, L"Close Hushcloak Privacy");
    return menu;
}

HFONT CreateCaptionFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
    // A little larger than message text: the caption is all there is to read on the button.
    metrics.lfMessageFont.lfHeight = metrics.lfMessageFont.lfHeight * 5 / 4;
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

void KeepOnTop(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
}  // namespace

TPanic_f::TPanic_f(Settings& settings, PrivacyDispatcher& dispatcher, WindowEngine& engine, MainWindowView* mainWindow,
                   std::function<void()> exitCommand)
    : settings_(settings),
      dispatcher_(dispatcher),
      engine_(engine),
      mainWindow_(mainWindow),
      exitCommand_(std::move(exitCommand)),
      tracker_([this](HWND window) { NoteForeground(window); }),
      menu_(CreatePopupMenu1()),
      font_(CreateCaptionFont()) {
    FormCreate();
}

TPanic_f::~TPanic_f() {
    tracker_.Stop();
    if (hwnd) DestroyWindow(hwnd);
}

void TPanic_f::FormCreate() {
    RegisterWindowClass(kClassName);
    const POINT at = ReachablePanicPosition(POINT{settings_.PanicLeft, settings_.PanicTop},
                                            SIZE{kClientWidth, kClientHeight}, MonitorWorkAreas(), PrimaryWorkArea());
    CreateWindowFor(WS_EX_TOPMOST | WS_EX_LAYERED, kClassName, L"", WS_POPUP | WS_CLIPCHILDREN, at.x, at.y,
                    kClientWidth, kClientHeight, GetDesktopWindow());
    if (!hwnd) return;
    // A layered window stays invisible until its opacity is set once.
    SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA);
    button_ = CreateWindowExW(0, L"BUTTON", settings_.btnPanic.c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0, 0, kClientWidth,
                              kClientHeight, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdBtnPanic)),
                              GetModuleHandleW(nullptr), nullptr);
    if (button_ && font_) SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    RememberPosition();
    // The tool-window bit keeps it off the taskbar; it takes effect between a hide and a show.
    ShowWindow(hwnd, SW_HIDE);
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    Show();
}

bool TPanic_f::IsShown() { return hwnd && IsWindowVisible(hwnd); }

void TPanic_f::Show() {
    if (!hwnd) return;
    ShowWindow(hwnd, SW_SHOW);
    FormShow();
}

void TPanic_f::Close() {
    if (!hwnd) return;
    ShowWindow(hwnd, SW_HIDE);
    FormClose();
}

void TPanic_f::FormShow() {
    KeepOnTop(hwnd);
    // Without the events (a system that refuses the hook) the window in front is still noted when the button is
    // clicked, so the failure is not reported.
    tracker_.Start();
    NoteForeground(CurrentForeground());
    for (const auto& listener : shownListeners_) listener(true);
}

void TPanic_f::FormActivate() {
    KeepOnTop(hwnd);
    SetLayeredWindowAttributes(hwnd, 0, PanicOpacity(settings_.jvTransparency), LWA_ALPHA);
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, 0);
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, 0);
}

void TPanic_f::FormClose() {
    tracker_.Stop();
    for (const auto& listener : shownListeners_) listener(false);
}

void TPanic_f::SetTransparency(int position) {
    settings_.jvTransparency = std::clamp(position, 0, 10);
    if (hwnd) SetLayeredWindowAttributes(hwnd, 0, PanicOpacity(settings_.jvTransparency), LWA_ALPHA);
}

void TPanic_f::OnShownChanged(std::function<void(bool shown)> listener) {
    if (listener) shownListeners_.push_back(std::move(listener));
}

void TPanic_f::NoteForeground(HWND window) {
    if (detached_ > 0 || !IsShown() || !TracksActiveWindow(settings_.Action)) return;
    if (!window || WindowProcessId(window) == OwnProcessId()) return;
    lastActive_ = window;
}

void TPanic_f::RememberPosition() {
    RECT frame{};
    if (!GetWindowRect(hwnd, &frame)) return;
    settings_.PanicLeft = frame.left;
    settings_.PanicTop = frame.top;
}

void TPanic_f::btnPanicClick() {
    if (settings_.fHidePanicBtn) Close();
    dispatcher_.PanicButtonClick();
}

void TPanic_f::pbCaptionClick() {
    const auto text = AskPanicDescription(hwnd, settings_.btnPanic);
    if (!text) return;
    settings_.btnPanic = *text;
    SetWindowTextW(button_, settings_.btnPanic.c_str());
}

void TPanic_f::MoveBTnClick() {
    moveTicked_ = !moveTicked_;
    CheckMenuItem(menu_.get(), kIdMoveBTn, MF_BYCOMMAND | (moveTicked_ ? MF_CHECKED : MF_UNCHECKED));
    // The frame is added or removed around the same client area; the top-left corner stays where it is, so the
    // caption bar to drag by is never pushed off the screen.
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    style = moveTicked_ ? (style | WS_CAPTION) : (style & ~WS_CAPTION);
    SetWindowLongW(hwnd, GWL_STYLE, style);
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(style), FALSE, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TPanic_f::Openmainwindow1Click() {
    if (!mainWindow_) return;
    if (dispatcher_.Gate().MayShowHidden(hwnd)) mainWindow_->Open();
}

void TPanic_f::Restorehiddenwindows1Click() {
    if (dispatcher_.Gate().MayShowHidden(hwnd)) engine_.RestoreWindows();
}

void TPanic_f::ShowPopupMenu(LPARAM screenPoint) {
    POINT at{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) {  // from the keyboard: under the button's middle
        at = POINT{kClientWidth / 2, kClientHeight / 2};
        ClientToScreen(hwnd, &at);
    }
    // In front first, so the menu closes when the user clicks elsewhere.
    SetForegroundWindow(hwnd);
    TrackPopupMenuEx(menu_.get(), TPM_RIGHTBUTTON, at.x, at.y, hwnd, nullptr);
    PostMessageW(hwnd, WM_NULL, 0, 0);
}

void TPanic_f::OnCommand(int id, int code) {
    switch (id) {
        case kIdBtnPanic:
            if (code == BN_CLICKED) btnPanicClick();
            break;
        case kIdPbCaption:
            pbCaptionClick();
            break;
        case kIdMoveBTn:
            MoveBTnClick();
            break;
        case kIdOpenmainwindow1:
            Openmainwindow1Click();
            break;
        case kIdRestorehiddenwindows1:
            Restorehiddenwindows1Click();
            break;
        case kIdClose1:
            Close();
            break;
        case kIdCloseHushcloakPrivacy1:
            if (exitCommand_) exitCommand_();
            break;
    }
}

LRESULT TPanic_f::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_CONTEXTMENU:
            ShowPopupMenu(lp);
            return 0;
        case WM_MOUSEACTIVATE:
            // The click has not activated the button yet: what is in front now is what was in front before it.
            NoteForeground(CurrentForeground());
            return Default(msg, wp, lp);
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) FormActivate();
            return Default(msg, wp, lp);
        case WM_WINDOWPOSCHANGED:
            if (!(reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_NOMOVE)) RememberPosition();
            return Default(msg, wp, lp);
        case WM_SIZE:
            if (button_) MoveWindow(button_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        case WM_CLOSE:  // Alt+F4 on the frame: closing only hides
            Close();
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace hc
