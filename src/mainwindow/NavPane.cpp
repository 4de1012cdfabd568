#include "mainwindow/NavPane.h"

#include <windows.h>
#include <commctrl.h>

#include <array>

#include "mainwindow/MainWindowIds.h"

namespace hc {

namespace {
using namespace mainids;
constexpr wchar_t kPaneClass[] = L"HcNavPane";
constexpr COLORREF kBlue = RGB(20, 100, 190);
constexpr COLORREF kActiveGrey = RGB(48, 48, 48);
constexpr int kButtonHeight = 40;
constexpr int kIconSize = 32;

struct NavAction {
    int id;
    const wchar_t* caption;
    int tag;
};
// actVisible, actHidden, actSetup, actOptions, actAbout, actHome, top to bottom.
constexpr std::array<NavAction, 6> kActions = {{
    {actVisible, L"Windows that anyone can see", 1},
    {actHidden, L"Windows that have been hidden", 2},
    {actSetup, L"Configure Hushcloak actions", 3},
    {actOptions, L"Specify additional actions", 0},
    {actAbout, L"All About Hushcloak Privacy", 4},
    {actHome, L"Welcome", 5},
}};

// The navigation icons: simple line pictures of the program's own, drawn in white.
void DrawIcon(HDC dc, int index, RECT box) {
    const int w = box.right - box.left;
    const int u = std::max(1, w / 16);
    HPEN pen = CreatePen(PS_SOLID, std::max(2, w / 14), RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int l = box.left, t = box.top;
    switch (index) {
        case 0:  // an open eye
        case 1:  // a crossed-out eye
            Arc(dc, l + u, t + 4 * u, l + 15 * u, t + 16 * u, l + 15 * u, t + 8 * u, l + u, t + 8 * u);
            Arc(dc, l + u, t, l + 15 * u, t + 12 * u, l + u, t + 8 * u, l + 15 * u, t + 8 * u);
            Ellipse(dc, l + 6 * u, t + 6 * u, l + 10 * u, t + 10 * u);
            if (index == 1) {
                MoveToEx(dc, l + 2 * u, t + 14 * u, nullptr);
                LineTo(dc, l + 14 * u, t + 2 * u);
            }
            break;
        case 2: {  // a gear: a ring with eight teeth
            Ellipse(dc, l + 4 * u, t + 4 * u, l + 12 * u, t + 12 * u);
            const int c = l + 8 * u, m = t + 8 * u;
            const POINT teeth[8] = {{0, -6}, {4, -4}, {6, 0}, {4, 4}, {0, 6}, {-4, 4}, {-6, 0}, {-4, -4}};
            for (const POINT& p : teeth) {
                MoveToEx(dc, c + p.x * u * 2 / 3, m + p.y * u * 2 / 3, nullptr);
                LineTo(dc, c + p.x * u, m + p.y * u);
            }
            break;
        }
        case 3:  // a list of ticked lines
            for (int row = 0; row < 3; ++row) {
                const int y = t + (3 + row * 5) * u;
                Rectangle(dc, l + 2 * u, y - u, l + 4 * u, y + u);
                MoveToEx(dc, l + 6 * u, y, nullptr);
                LineTo(dc, l + 14 * u, y);
            }
            break;
        case 4:  // "i" in a circle
            Ellipse(dc, l + 2 * u, t + 2 * u, l + 14 * u, t + 14 * u);
            MoveToEx(dc, l + 8 * u, t + 7 * u, nullptr);
            LineTo(dc, l + 8 * u, t + 12 * u);
            MoveToEx(dc, l + 8 * u, t + 4 * u, nullptr);
            LineTo(dc, l + 8 * u, t + 5 * u);
            break;
        default: {  // a house
            const POINT roof[3] = {{l + 2 * u, t + 8 * u}, {l + 8 * u, t + 2 * u}, {l + 14 * u, t + 8 * u}};
            Polyline(dc, roof, 3);
            Rectangle(dc, l + 4 * u, t + 7 * u, l + 12 * u, t + 14 * u);
            break;
        }
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}
}  // namespace

HWND NavPane::Create(HWND parent, const Fonts& fonts) {
    fonts_ = &fonts;
    RegisterWindowClass(kPaneClass, nullptr, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    CreateWindowExW(WS_EX_CONTROLPARENT, kPaneClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                    nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd) return nullptr;
    for (const NavAction& action : kActions) {
        HWND button = CreateWindowExW(0, WC_BUTTONW, action.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                      0, 0, 0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(action.id)),
                                      GetModuleHandleW(nullptr), nullptr);
        SetWindowSubclass(button, &ButtonProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    return hwnd;
}

void NavPane::Layout(const RECT& area, UINT dpi) {
    dpi_ = dpi;
    const int width = area.right - area.left;
    SetWindowPos(hwnd, nullptr, area.left, area.top, width, area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    int y = Scale(8, dpi);
    for (const NavAction& action : kActions) {
        SetWindowPos(GetDlgItem(hwnd, action.id), nullptr, 0, y, width, Scale(kButtonHeight, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        y += Scale(kButtonHeight, dpi);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
}

void NavPane::SetActive(int tag) {
    activeTag_ = tag;
    InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT CALLBACK NavPane::ButtonProc(HWND button, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<NavPane*>(data);
    if (msg == WM_MOUSEMOVE && self->hot_ != button) {
        if (self->hot_) InvalidateRect(self->hot_, nullptr, FALSE);
        self->hot_ = button;
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = button;
        TrackMouseEvent(&track);
        InvalidateRect(button, nullptr, FALSE);
    } else if (msg == WM_MOUSELEAVE && self->hot_ == button) {
        self->hot_ = nullptr;
        InvalidateRect(button, nullptr, FALSE);
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(button, &ButtonProc, 1);
    }
    return DefSubclassProc(button, msg, wp, lp);
}

void NavPane::Draw(const DRAWITEMSTRUCT& item) {
    int index = 0;
    while (index < static_cast<int>(kActions.size()) && kActions[index].id != static_cast<int>(item.CtlID)) ++index;
    if (index == static_cast<int>(kActions.size())) return;
    const bool hot = item.hwndItem == hot_ || (item.itemState & ODS_FOCUS);
    const bool active = kActions[index].tag == activeTag_;
    HBRUSH back = CreateSolidBrush(hot ? kBlue : active ? kActiveGrey : RGB(0, 0, 0));
    FillRect(item.hDC, &item.rcItem, back);
    DeleteObject(back);
    const int icon = Scale(kIconSize, dpi_);
    const int pad = (Scale(50, dpi_) - icon) / 2;
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - icon) / 2;
    DrawIcon(item.hDC, index, RECT{item.rcItem.left + pad, top, item.rcItem.left + pad + icon, top + icon});
    RECT text = item.rcItem;
    text.left += Scale(58, dpi_);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(item.hDC, fonts_->normal.get());
    DrawTextW(item.hDC, kActions[index].caption, -1, &text,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(item.hDC, old);
}

LRESULT NavPane::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED)
                for (const NavAction& action : kActions)
                    if (action.id == LOWORD(wp) && onAction_) onAction_(action.tag);  // actOptionsExecute
            return 0;
        case WM_DRAWITEM:
            Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wp) != hwnd) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            return Default(msg, wp, lp);
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace hc
