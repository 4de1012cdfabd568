#include "mainwindow/Page.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "platform/Appearance.h"

namespace hc {

namespace {
constexpr wchar_t kPageClass[] = L"HcPage";

// Group boxes draw their caption in the system's text colour whatever their parent says: in a theme of our own
// the caption is painted again over it.
LRESULT CALLBACK GroupBoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(box, &GroupBoxProc, 1);
    const LRESULT result = DefSubclassProc(box, msg, wp, lp);
    const auto* themes = reinterpret_cast<const Themes*>(data);
    if (msg != WM_PAINT || themes->Current().system) return result;
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    const std::wstring caption = appearance::WindowText(box);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    const int pad = extent.cy / 3;
    RECT behind{pad / 2, 0, extent.cx + 3 * pad, extent.cy};
    FillRect(dc, &behind, themes->WindowBrush());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, themes->TextColour());
    TextOutW(dc, pad * 3 / 2, 0, caption.c_str(), static_cast<int>(caption.size()));
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    return result;
}

UniqueFont MakeFont(UINT dpi, int pixels, int weight, bool underline) {
    return UniqueFont(CreateFontW(-Scale(pixels, dpi), 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  L"Verdana"));
}
}  // namespace

int Scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), 96); }

void Fonts::Make(UINT dpi) {
    normal = MakeFont(dpi, 13, FW_NORMAL, false);
    bold = MakeFont(dpi, 13, FW_BOLD, false);
    heading = MakeFont(dpi, 13, FW_BOLD, true);
    title = MakeFont(dpi, 19, FW_BOLD, false);
    link = MakeFont(dpi, 13, FW_NORMAL, true);
}

HWND Page::Create(HWND parent, const Themes& themes, const Fonts& fonts, const RECT& area, UINT dpi) {
    themes_ = &themes;
    fonts_ = &fonts;
    RegisterWindowClass(kPageClass);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // WS_EX_CONTROLPARENT: Tab walks into the page's controls as if they were the main window's own.
    // No WS_CLIPCHILDREN: a group box paints no inside of its own, the page's erase must reach below it.
    CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD, area.left, area.top, width, height, parent, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!hwnd) return nullptr;
    for (const ControlRow& row : Controls()) {
        const RECT place = PlaceOf(row, width, height, dpi);
        HWND control =
            CreateWindowExW(0, row.className, row.text, WS_CHILD | WS_VISIBLE | row.style, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, hwnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), GetModuleHandleW(nullptr), nullptr);
        if (!control) continue;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(row.font)), FALSE);
        if (std::wstring_view(row.className) == WC_BUTTONW && (row.style & BS_TYPEMASK) == BS_GROUPBOX)
            SetWindowSubclass(control, &GroupBoxProc, 1, reinterpret_cast<DWORD_PTR>(&themes));
    }
    AddHints();
    OnCreated();
    return hwnd;
}

void Page::AddHints() {
    for (const ControlRow& row : Controls()) {
        if (!row.hint || !Item(row.id)) continue;
        if (!hints_) {
            hints_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
            // Without it the page works as before; only the hints are missing.
            if (!hints_) return;
        }
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(Item(row.id));
        tool.lpszText = const_cast<wchar_t*>(row.hint);
        SendMessageW(hints_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

HFONT Page::FontFor(FontKind kind) const {
    switch (kind) {
        case FontKind::Bold:
            return fonts_->bold.get();
        case FontKind::Heading:
            return fonts_->heading.get();
        case FontKind::Title:
            return fonts_->title.get();
        case FontKind::Link:
            return fonts_->link.get();
        case FontKind::Normal:
            break;
    }
    return fonts_->normal.get();
}

RECT Page::PlaceOf(const ControlRow& row, int width, int height, UINT dpi) const {
    const int margin = Scale(kPageMargin, dpi);
    const int x = Scale(row.x, dpi);
    const int y = Scale(row.y, dpi);
    const int w = row.width == kFill ? width - margin - x : Scale(row.width, dpi);
    const int h = row.height == kFill ? height - margin - y : Scale(row.height, dpi);
    return RECT{x, y, x + w, y + h};
}

void Page::Layout(const RECT& area, UINT dpi) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    SetWindowPos(hwnd, nullptr, area.left, area.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlRow& row : Controls()) {
        HWND control = Item(row.id);
        if (!control) continue;
        const RECT place = PlaceOf(row, width, height, dpi);
        RECT now{};
        GetWindowRect(control, &now);
        MapWindowPoints(HWND_DESKTOP, hwnd, reinterpret_cast<POINT*>(&now), 2);
        if (!EqualRect(&now, &place))
            SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        const HFONT font = FontFor(row.font);
        if (reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)) != font)
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    LaidOut(dpi);
}

int Page::TrackMenu(std::span<const MenuItem> items, POINT at) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (const MenuItem& item : items)
        AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(item.id),
                    item.caption);
    // In front first, or the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(GetAncestor(hwnd, GA_ROOT));
    const int chosen = static_cast<int>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, hwnd, nullptr));
    DestroyMenu(menu);
    return chosen;
}

POINT Page::MenuPoint(HWND list, POINT at) const {
    if (at.x != -1 || at.y != -1) return at;
    POINT point{0, 0};
    const int selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (selected >= 0 &&
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&row)))
        point = POINT{row.left + 16, row.bottom};
    ClientToScreen(list, &point);
    return point;
}

LRESULT Page::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
        case WM_DESTROY:
            // A pop-up: it would otherwise live on until the main window goes.
            if (hints_) DestroyWindow(hints_);
            hints_ = nullptr;
            return Default(msg, wp, lp);
        case WM_CONTEXTMENU:
            OnContextMenu(reinterpret_cast<HWND>(wp), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_HSCROLL:
            OnScroll(reinterpret_cast<HWND>(lp));
            return 0;
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(hwnd, &client);
            FillRect(reinterpret_cast<HDC>(wp), &client, themes_->WindowBrush());
            return 1;
        }
        case WM_SETCURSOR:
            if (IsLink(GetDlgCtrlID(reinterpret_cast<HWND>(wp)))) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            return Default(msg, wp, lp);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: {
            const HDC dc = reinterpret_cast<HDC>(wp);
            const bool link = IsLink(GetDlgCtrlID(reinterpret_cast<HWND>(lp)));
            HBRUSH brush = themes_->ColourControl(msg, dc);
            if (!brush && !link) return Default(msg, wp, lp);
            if (!brush) {
                SetBkMode(dc, TRANSPARENT);
                brush = themes_->WindowBrush();
            }
            if (link) SetTextColor(dc, themes_->Current().link);
            return reinterpret_cast<LRESULT>(brush);
        }
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace hc
