#include <windows.h>
#include <commctrl.h>

#include <array>

#include "engine/WindowEngine.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/Pages.h"
#include "settings/Conversions.h"
#include "settings/KeepVisible.h"

namespace hc {

namespace {
using namespace mainids;
constexpr DWORD kListStyle =
    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_BORDER | WS_TABSTOP;
constexpr int kHandleColumnWidth = 100;
constexpr int kLastColumnWidth = 150;
constexpr int kKeptColumnWidth = 100;

// A report view shows no window text: it is the list's name for a screen reader, the page's name.
const std::array<ControlRow, 1> kVisible = {
    {{WC_LISTVIEWW, L"Visible Windows", VisibleWindows, kListStyle, 12, 12, kFill, kFill}}};
const std::array<ControlRow, 1> kHidden = {{{WC_LISTVIEWW, L"Hidden Window", WindowLV, kListStyle, 12, 12, kFill, kFill}}};

void AddColumns(HWND list, std::initializer_list<const wchar_t*> captions) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const wchar_t* caption : captions) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(caption);
        column.cx = kHandleColumnWidth;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
    }
}

// "Handle" and the columns after "Title" keep their widths; "Title" takes what is left.
void SizeColumns(HWND list, UINT dpi, std::initializer_list<int> afterTitle = {kLastColumnWidth}) {
    RECT client{};
    GetClientRect(list, &client);
    const int handle = Scale(kHandleColumnWidth, dpi);
    int title = client.right - handle;
    for (int width : afterTitle) title -= Scale(width, dpi);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, handle);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, std::max<int>(Scale(100, dpi), title));
    int column = 2;
    for (int width : afterTitle) SendMessageW(list, LVM_SETCOLUMNWIDTH, column++, Scale(width, dpi));
}

void AddRow(HWND list, int row, int image, std::initializer_list<const std::wstring*> texts) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.iImage = image;
    item.pszText = const_cast<wchar_t*>((*texts.begin())->c_str());
    const int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    int column = 0;
    for (const std::wstring* text : texts) {
        if (column) {
            LVITEMW sub{};
            sub.iSubItem = column;
            sub.pszText = const_cast<wchar_t*>(text->c_str());
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
        }
        ++column;
    }
}

// Empties the list and adds the rows anew without painting in between.
template <class AddRows>
void Refill(HWND list, AddRows addRows) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    addRows();
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

int SelectedRow(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
}  // namespace

// Visible Windows

std::span<const ControlRow> VisiblePage::Controls() const { return kVisible; }

void VisiblePage::OnCreated() {
    const HWND list = Item(VisibleWindows);
    AddColumns(list, {L"Handle", L"Title", L"Process", L"Kept visible"});
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons_.Images()));
}

void VisiblePage::LaidOut(UINT dpi) { SizeColumns(Item(VisibleWindows), dpi, {kLastColumnWidth, kKeptColumnWidth}); }

void VisiblePage::Fill() {
    const HWND list = Item(VisibleWindows);
    Refill(list, [&] {
        int row = 0;
        for (const VisibleWindow& entry : engine_.Visible().Entries()) {
            const std::wstring handle = HandleToText(entry.handle);
            // Shown, since a panic leaves the window on the screen, and marked so the user knows why.
            const std::wstring kept = IsKeptVisible(settings_.KeepVisible, entry.processPath) ? L"yes" : L"";
            AddRow(list, row++, icons_.GetImageIndex(entry.processPath),
                   {&handle, &entry.title, &entry.processPath, &kept});
        }
    });
}

void VisiblePage::OnShown() {
    engine_.Visible().DoGetWindows();
    Fill();
}

void VisiblePage::OnContextMenu(HWND control, POINT at) {
    if (control != Item(VisibleWindows)) return;
    const std::wstring program = SelectedProgram();
    const MenuItem menu[] = {{Hideselectedwindow1, L"Hide selected window"},
                             {KeepVisible1, L"Always keep this program visible",
                              !program.empty() && !IsKeptVisible(settings_.KeepVisible, program)},
                             {Refresh1, L"Refresh..."}};
    switch (TrackMenu(menu, MenuPoint(control, at))) {
        case Hideselectedwindow1:
            Hideselectedwindow1Click();
            break;
        case KeepVisible1:
            KeepVisible1Click();
            break;
        case Refresh1:
            Refresh1Click();
            break;
        default:
            break;
    }
}

void VisiblePage::Hideselectedwindow1Click() {
    const int row = SelectedRow(Item(VisibleWindows));
    // Rows are the engine's entries in the same order: nothing sorts the list.
    if (row < 0 || static_cast<size_t>(row) >= engine_.Visible().Entries().size()) return;
    engine_.HideSelectedWindow(static_cast<size_t>(row));
    Fill();
}

std::wstring VisiblePage::SelectedProgram() const {
    const int row = SelectedRow(Item(VisibleWindows));
    const auto& entries = engine_.Visible().Entries();
    return row >= 0 && static_cast<size_t>(row) < entries.size() ? entries[static_cast<size_t>(row)].processPath
                                                                 : std::wstring();
}

void VisiblePage::KeepVisible1Click() {
    // Stored with the other settings when the window closes.
    const HWND list = Item(VisibleWindows);
    const int row = SelectedRow(list);
    if (!AddKeptProgram(settings_.KeepVisible, SelectedProgram())) return;
    Fill();
    // The refill drops the selection; a keyboard user stays on the row.
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void VisiblePage::Refresh1Click() {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    engine_.Visible().DoGetWindows();
    Fill();
    SetCursor(previous);
}

// Hidden Window

std::span<const ControlRow> HiddenPage::Controls() const { return kHidden; }

void HiddenPage::OnCreated() { AddColumns(Item(WindowLV), {L"Handle", L"Title", L"Date and Time"}); }

void HiddenPage::LaidOut(UINT dpi) { SizeColumns(Item(WindowLV), dpi); }

void HiddenPage::Fill() {
    const HWND list = Item(WindowLV);
    Refill(list, [&] {
        int row = 0;
        for (const HiddenWindow& entry : engine_.Hidden()) {
            const std::wstring handle = HandleToText(entry.handle);  // the handle as text only for display
            AddRow(list, row++, -1, {&handle, &entry.title, &entry.timeStamp});
        }
    });
}

void HiddenPage::OnContextMenu(HWND control, POINT at) {
    if (control != Item(WindowLV)) return;
    static constexpr MenuItem kMenu[] = {{Showwindow1, L"Show selected window"},
                                         {Showallwindows1, L"Show all windows"},
                                         {Closewindow1, L"Close window...", false}};
    const int chosen = TrackMenu(kMenu, MenuPoint(control, at));
    if (chosen != Showwindow1 && chosen != Showallwindows1) return;
    // A way back like any other. The prompt is modal: the row is read only once it has closed.
    if (mayShow_ && !mayShow_()) return;
    if (chosen == Showwindow1) {  // Showwindow1Click
        const int row = SelectedRow(control);
        if (row < 0 || static_cast<size_t>(row) >= engine_.Hidden().size()) return;
        engine_.ShowSelectedWindow(static_cast<size_t>(row));
    } else {  // Showallwindows1Click
        engine_.ShowAllWindows();
    }
    Fill();
}

}  // namespace hc
