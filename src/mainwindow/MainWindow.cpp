#include "mainwindow/MainWindow.h"

#include <windows.h>
#include <commctrl.h>

#include "engine/WindowEngine.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/NavPane.h"
#include "mainwindow/Pages.h"
#include "platform/Appearance.h"
#include "settings/Configuration.h"
#include "settings/Settings.h"
#include "ui/ResourceIds.h"

namespace hc {

namespace {
using namespace mainids;
constexpr int kClientWidth = 1056;
constexpr int kClientHeight = 542;
constexpr int kMaxOuterWidth = 1072;
constexpr int kMaxOuterHeight = 581;
constexpr int kBannerHeight = 49;
constexpr int kToolbarHeight = 47;
constexpr int kBottomBarHeight = 50;
constexpr COLORREF kToolbarBlue = RGB(20, 100, 190);
constexpr UINT_PTR kSlideTimer = 1;
constexpr UINT kSlideIntervalMs = 15;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
}  // namespace

TMain_f::TMain_f(HWND owner, Settings& settings, WindowEngine& engine, Themes& themes, MainWindowHooks hooks,
                 std::wstring welcomeFile)
    : settings_(settings), engine_(engine), themes_(themes), hooks_(std::move(hooks)) {
    icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
    toolbarBrush_.reset(CreateSolidBrush(kToolbarBlue));
    RegisterWindowClass(kClassName, icon_);
    // Owned by the hidden controller: no taskbar button, and it goes when the program goes.
    CreateWindowFor(kExStyle, kClassName, kMainWindowTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner);
    if (!hwnd) return;
    // The icon chosen with "Change Icon..."; a file that holds no such icon leaves the program's own.
    chosenIcon_ = appearance::ExtractFileIcon(settings_.IconFile, settings_.IconIndex);
    if (chosenIcon_.large) {
        SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(chosenIcon_.large.get()));
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(chosenIcon_.small.get()));
    }
    dpi_ = appearance::DpiOf(hwnd);
    MakeFonts();

    const auto child = [&](const wchar_t* cls, const wchar_t* text, int id, DWORD style, HFONT font) {
        HWND control =
            CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    child(WC_BUTTONW, L"Menu", imgMenu, BS_OWNERDRAW | WS_TABSTOP, fonts_.normal.get());
    child(WC_STATICW, L"Hushcloak Privacy", lblTitle, SS_LEFT, fonts_.title.get());

    pane_ = std::make_unique<NavPane>([this](int tag) { actOptionsExecute(tag); });
    pane_->Create(hwnd, fonts_);

    auto options = std::make_unique<OptionsPage>(
        settings_,
        [this] {
            if (hooks_.PassBtnClick) hooks_.PassBtnClick();
        },
        [this] { return !hooks_.cbPasswordTicked || hooks_.cbPasswordTicked(); },
        [this](const std::wstring& name) { cbxVclStylesChange(name); });
    auto visible = std::make_unique<VisiblePage>(engine_, settings_);
    auto hidden =
        std::make_unique<HiddenPage>(engine_, [this] { return !hooks_.MayShowHidden || hooks_.MayShowHidden(hwnd); });
    auto setup = std::make_unique<SetupPage>(settings_, [this] {
        if (hooks_.btnEditHotKEyClick) hooks_.btnEditHotKEyClick();
    });
    auto about = std::make_unique<AboutPage>([this] {
        if (hooks_.btnUpdateClick) hooks_.btnUpdateClick();
    });
    auto welcome = std::make_unique<WelcomePage>(std::move(welcomeFile));
    options_ = options.get();
    visible_ = visible.get();
    hidden_ = hidden.get();
    setup_ = setup.get();
    welcome_ = welcome.get();
    pages_[kOptions] = std::move(options);
    pages_[kVisible] = std::move(visible);
    pages_[kHidden] = std::move(hidden);
    pages_[kSetup] = std::move(setup);
    pages_[kAbout] = std::move(about);
    pages_[kWelcome] = std::move(welcome);
    // Sized first, so that the pages' controls are made in their places and need no second move.
    const SIZE outer = OuterSize(Scale(kClientWidth, dpi_), Scale(kClientHeight, dpi_));
    SetWindowPos(hwnd, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (auto& page : pages_) page->Create(hwnd, themes_, fonts_, PageArea(), dpi_);

    // The bottom bar comes last, so Tab reaches it after the page.
    child(WC_STATICW, L"Check for updates...", Label23, SS_LEFT | SS_NOTIFY, fonts_.link.get());
    child(WC_BUTTONW, L"Close", btnClose, BS_PUSHBUTTON | WS_TABSTOP, fonts_.normal.get());
    Layout();

    themes_.OnChanged([this](const Palette&) {
        themes_.ApplyTo(hwnd);
        for (auto& page : pages_) page->OnThemeChanged();
    });
    themes_.ApplyTo(hwnd);

    // The page set-up of creation: the list is filled; no page is chosen until the user or the tray chooses one.
    engine_.Visible().DoGetWindows();
    RefreshPages();
}

TMain_f::~TMain_f() {
    if (hwnd) KillTimer(hwnd, kSlideTimer);
    // The pages' windows are children of this one: they go first, while their objects still exist.
    for (auto& page : pages_) page.reset();
    pane_.reset();
}

SIZE TMain_f::OuterSize(int clientWidth, int clientHeight) const {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const LONG width = std::min<LONG>(frame.right - frame.left, Scale(kMaxOuterWidth, dpi_));
    const LONG height = std::min<LONG>(frame.bottom - frame.top, Scale(kMaxOuterHeight, dpi_));
    return SIZE{width, height};
}

bool TMain_f::IsVisible() { return hwnd && IsWindowVisible(hwnd); }

void TMain_f::Open() {
    if (!hwnd) return;
    RefreshPages();
    actOptionsExecute(kWelcome);
    ShowWindowInFront();
}

void TMain_f::ShowAtStart() {
    if (!hwnd) return;
    RefreshPages();
    ShowWindowInFront();
}

void TMain_f::ShowWindowInFront() {
    if (!centred_) {
        RECT frame{};
        GetWindowRect(hwnd, &frame);
        const int x = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
        SetWindowPos(hwnd, nullptr, std::max(0, x), std::max(0, y), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        centred_ = true;
    }
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
}

void TMain_f::SetPanicButton(PanicButtonView* panic) {
    if (options_) options_->SetPanicButton(panic);
}

void TMain_f::RefreshPages() {
    for (auto& page : pages_) page->Refresh();
    visible_->Fill();
    hidden_->Fill();
}

bool TMain_f::PreTranslate(MSG& msg) {
    if (!hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return false;
    if (msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd)) return false;
    return IsDialogMessageW(hwnd, &msg) != FALSE;
}

void TMain_f::FormClose(bool byUser) {
    if (!hwnd) return;
    // Saved first: whoever sees the window go may rely on the entries being there.
    if (hooks_.Save) hooks_.Save(byUser);
    ShowWindow(hwnd, SW_HIDE);
}

void TMain_f::FormActivate() {
    engine_.Visible().DoGetWindows();
    visible_->Fill();
    hidden_->Fill();
}

void TMain_f::actOptionsExecute(int tag) {
    if (tag < 0 || tag >= kPageCount) return;
    if (active_ != tag) {
        if (active_ >= 0) ShowWindow(pages_[active_]->Handle(), SW_HIDE);
        active_ = tag;
        ShowWindow(pages_[active_]->Handle(), SW_SHOW);
    }
    pane_->SetActive(tag);
    pages_[tag]->OnShown();
}

void TMain_f::imgMenuClick() {
    // A click while the pane moves turns it back.
    const bool moving = paneWidth_ > kPaneClosed && paneWidth_ < kPaneOpen;
    paneOpening_ = moving ? !paneOpening_ : paneWidth_ <= kPaneClosed;
    SetTimer(hwnd, kSlideTimer, kSlideIntervalMs, nullptr);
}

void TMain_f::OnSlideTimer() {
    paneWidth_ += paneOpening_ ? kPaneStep : -kPaneStep;
    if (paneWidth_ >= kPaneOpen || paneWidth_ <= kPaneClosed) {
        paneWidth_ = std::clamp(paneWidth_, kPaneClosed, kPaneOpen);
        KillTimer(hwnd, kSlideTimer);
    }
    Layout();
}

void TMain_f::cbxVclStylesChange(const std::wstring& name) {
    // Colours only: every window, and so every hotkey registered on one, stays as it is. Releasing the keys here
    // would let another program take one in the gap, and the panic key would be lost without a word.
    themes_.Select(name);
    engine_.Visible().DoGetWindows();
    visible_->Fill();
}

RECT TMain_f::PageArea() const {
    RECT client{};
    GetClientRect(hwnd, &client);
    return RECT{Scale(paneWidth_, dpi_), Scale(kBannerHeight + kToolbarHeight, dpi_), client.right,
                client.bottom - Scale(kBottomBarHeight, dpi_)};
}

void TMain_f::Layout() {
    const auto s = [this](int value) { return Scale(value, dpi_); };
    // The pane takes the page area's left part; the bottom bar starts where the area ends.
    const RECT area = PageArea();
    const int bottom = area.bottom;
    SetWindowPos(GetDlgItem(hwnd, imgMenu), nullptr, s(10), s(kBannerHeight + 7), s(32), s(32), SWP_NOZORDER);
    SetWindowPos(GetDlgItem(hwnd, lblTitle), nullptr, s(56), s(kBannerHeight + 11), s(500), s(26), SWP_NOZORDER);
    pane_->Layout(RECT{0, area.top, area.left, bottom}, dpi_);
    for (auto& page : pages_) page->Layout(area, dpi_);
    const int closeLeft = area.right - s(12 + 110);
    SetWindowPos(GetDlgItem(hwnd, btnClose), nullptr, closeLeft, bottom + s(11), s(110), s(28), SWP_NOZORDER);
    SetWindowPos(GetDlgItem(hwnd, Label23), nullptr, closeLeft - s(24 + 190), bottom + s(17), s(190), s(18),
                 SWP_NOZORDER);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void TMain_f::Paint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    const auto s = [this](int value) { return Scale(value, dpi_); };
    RECT banner{0, 0, client.right, s(kBannerHeight)};
    FillRect(dc, &banner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, s(12), s(8), icon_, s(32), s(32), 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kToolbarBlue);
    HGDIOBJ old = SelectObject(dc, bannerFont_.get());
    RECT word{s(54), 0, client.right, s(kBannerHeight)};
    DrawTextW(dc, L"HUSHCLOAK", -1, &word, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SelectObject(dc, old);
    RECT toolbar{0, s(kBannerHeight), client.right, s(kBannerHeight + kToolbarHeight)};
    FillRect(dc, &toolbar, toolbarBrush_.get());
    RECT rest{0, toolbar.bottom, client.right, client.bottom};
    FillRect(dc, &rest, themes_.WindowBrush());
    // A hairline between the page area and the bottom bar.
    RECT line{0, client.bottom - s(kBottomBarHeight), client.right, client.bottom - s(kBottomBarHeight) + 1};
    SetBkColor(dc, themes_.Current().system ? GetSysColor(COLOR_3DSHADOW) : themes_.Current().accent);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
    EndPaint(hwnd, &paint);
}

void TMain_f::OnCommand(int id, int code) {
    switch (id) {
        case imgMenu:
            if (code == BN_CLICKED) imgMenuClick();
            break;
        case Label23:
            if (code == STN_CLICKED && hooks_.btnUpdateClick) hooks_.btnUpdateClick();  // Label23Click
            break;
        case btnClose:  // btnCloseClick
        case IDCANCEL:  // Escape
            if (code == BN_CLICKED) FormClose(true);
            break;
        case IDOK: {  // Enter: presses the focused push button
            HWND focus = GetFocus();
            const LONG type = focus ? GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK : -1;
            wchar_t cls[16] = {};
            if (focus) GetClassNameW(focus, cls, 16);
            if (std::wstring_view(cls) == L"Button" &&
                (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW))
                SendMessageW(focus, BM_CLICK, 0, 0);
            break;
        }
        default:
            break;
    }
}

void TMain_f::MakeFonts() {
    fonts_.Make(dpi_);
    bannerFont_.reset(CreateFontW(-Scale(22, dpi_), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  L"Verdana"));
}

void TMain_f::OnDpiChanged(UINT dpi, const RECT* suggested) {
    dpi_ = dpi;
    MakeFonts();
    SendMessageW(GetDlgItem(hwnd, imgMenu), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal.get()), FALSE);
    SendMessageW(GetDlgItem(hwnd, lblTitle), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.title.get()), FALSE);
    SendMessageW(GetDlgItem(hwnd, Label23), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.link.get()), FALSE);
    SendMessageW(GetDlgItem(hwnd, btnClose), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal.get()), FALSE);
    const SIZE outer = OuterSize(Scale(kClientWidth, dpi_), Scale(kClientHeight, dpi_));
    const int x = suggested ? suggested->left : 0;
    const int y = suggested ? suggested->top : 0;
    SetWindowPos(hwnd, nullptr, x, y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
    Layout();
}

LRESULT TMain_f::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            FormClose(true);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && IsWindowVisible(hwnd)) FormActivate();
            return Default(msg, wp, lp);
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_TIMER:
            if (wp == kSlideTimer) OnSlideTimer();
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lp);
            limits->ptMaxTrackSize = POINT{Scale(kMaxOuterWidth, dpi_), Scale(kMaxOuterHeight, dpi_)};
            limits->ptMaxSize = limits->ptMaxTrackSize;
            return 0;
        }
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (item.CtlID != static_cast<UINT>(imgMenu)) return Default(msg, wp, lp);
            FillRect(item.hDC, &item.rcItem, toolbarBrush_.get());
            // Three white bars: the menu picture.
            const int w = item.rcItem.right - item.rcItem.left;
            const int bar = std::max(2, w / 10);
            for (int i = 0; i < 3; ++i) {
                const int y = item.rcItem.top + w / 4 + i * (w / 4) - bar / 2;
                RECT r{item.rcItem.left + w / 6, y, item.rcItem.right - w / 6, y + bar};
                FillRect(item.hDC, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            }
            if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
            return TRUE;
        }
        case WM_SETCURSOR: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wp));
            if (id == imgMenu || id == Label23) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            return Default(msg, wp, lp);
        }
        case WM_CTLCOLORSTATIC: {
            const HDC dc = reinterpret_cast<HDC>(wp);
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
            SetBkMode(dc, TRANSPARENT);
            if (id == lblTitle) {
                SetTextColor(dc, RGB(255, 255, 255));
                return reinterpret_cast<LRESULT>(toolbarBrush_.get());
            }
            SetTextColor(dc, themes_.Current().link);
            return reinterpret_cast<LRESULT>(themes_.WindowBrush());
        }
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(themes_.WindowBrush());
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace hc
