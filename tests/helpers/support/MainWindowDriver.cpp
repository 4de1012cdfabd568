#include "MainWindowDriver.h"

#include <commctrl.h>

#include <algorithm>

#include "TestSupport.h"
#include "TrayDriver.h"

namespace hctest {

namespace {
constexpr size_t kRemoteBytes = 4096;
constexpr size_t kTextOffset = 512;
constexpr int kTextChars = 1024;

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

struct Search {
    const std::wstring* caption;
    HWND found;
};
}  // namespace

HWND MainWindowDriver::Window() const {
    for (HWND window : WindowsOf(processId_, L"TMain_f"))
        if (TextOf(window) == kMainWindowCaption) return window;
    return nullptr;
}

bool MainWindowDriver::IsShown() const {
    HWND window = Window();
    return window && IsWindowVisible(window);
}

HWND MainWindowDriver::WaitUntilShown(DWORD timeoutMs) {
    return WaitUntil([&] { return IsShown(); }, timeoutMs) ? Window() : nullptr;
}

HWND MainWindowDriver::Control(const std::wstring& caption) const {
    Search search{&caption, nullptr};
    EnumChildWindows(
        Window(),
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (TextOf(child) != *s->caption) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MainWindowDriver::ControlById(int id) const {
    struct ById {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        Window(),
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<ById*>(data);
            if (GetDlgCtrlID(child) != s->id) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void MainWindowDriver::Settle() const {
    DWORD_PTR result = 0;
    if (HWND window = Window()) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

bool MainWindowDriver::Click(const std::wstring& caption) {
    HWND control = Control(caption);
    if (!control) return false;
    // Sent, not posted: a posted click could still be waiting when a later sent message has been answered.
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

bool MainWindowDriver::ClickWithoutWaiting(const std::wstring& caption) {
    HWND control = Control(caption);
    return control && PostMessageW(control, BM_CLICK, 0, 0);
}

bool MainWindowDriver::Checked(const std::wstring& caption) const {
    HWND control = Control(caption);
    return control && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring MainWindowDriver::Text(int id) const {
    HWND control = ControlById(id);
    if (!control) return L"(no control)";
    std::wstring text(static_cast<size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

bool MainWindowDriver::IsOnShow(int id) const {
    HWND control = ControlById(id);
    return control && IsWindowVisible(control);
}

bool MainWindowDriver::Choose(int comboId, const std::wstring& entry) {
    HWND combo = ControlById(comboId);
    if (!combo) return false;
    // The entry texts live in the other process; a drop-down list's window text is its selected entry's.
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        if (Text(comboId) == entry) {
            SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(combo));
            Settle();
            return true;
        }
    }
    return false;
}

bool MainWindowDriver::ChooseFromMenu(int listId, int position) {
    HWND list = ControlById(listId);
    if (!list) return false;
    SetForegroundWindow(Window());
    PostMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(-1, -1));
    const auto menuOpen = [] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
    };
    if (!WaitForMenuLoop()) return false;
    for (int i = 0; i <= position; ++i) PressKeys({}, VK_DOWN);
    PressKeys({}, VK_RETURN);
    const bool closed = WaitUntil([&] { return !menuOpen(); }, 5000);
    Settle();
    return closed;
}

RemoteListView::RemoteListView(HWND list) : list_(list) {
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_) remote_ = VirtualAllocEx(process_, nullptr, kRemoteBytes, MEM_COMMIT, PAGE_READWRITE);
}

RemoteListView::~RemoteListView() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

int RemoteListView::Count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring RemoteListView::Text(int row, int column) const {
    if (!remote_) return L"(unreadable)";
    auto* textAt = static_cast<char*>(remote_) + kTextOffset;
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(textAt);
    item.cchTextMax = kTextChars;
    SIZE_T moved = 0;
    WriteProcessMemory(process_, remote_, &item, sizeof(item), &moved);
    const auto length =
        SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote_));
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)), L'\0');
    if (length > 0) ReadProcessMemory(process_, textAt, text.data(), text.size() * sizeof(wchar_t), &moved);
    return text;
}

std::vector<std::wstring> RemoteListView::Column(int column) const {
    std::vector<std::wstring> texts;
    for (int row = 0; row < Count(); ++row) texts.push_back(Text(row, column));
    return texts;
}

int RemoteListView::Find(int column, const std::wstring& text) const {
    for (int row = 0; row < Count(); ++row)
        if (Text(row, column) == text) return row;
    return -1;
}

bool RemoteListView::Select(int row) {
    if (!remote_) return false;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SIZE_T moved = 0;
    WriteProcessMemory(process_, remote_, &item, sizeof(item), &moved);
    return SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote_)) != 0;
}

int RemoteListView::ImageOf(int row) const {
    if (!remote_) return -2;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SIZE_T moved = 0;
    WriteProcessMemory(process_, remote_, &item, sizeof(item), &moved);
    SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote_));
    ReadProcessMemory(process_, remote_, &item, sizeof(item), &moved);
    return item.iImage;
}

namespace {

BOOL CALLBACK NoteUnpainted(HWND child, LPARAM unpainted) {
    if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
    *reinterpret_cast<bool*>(unpainted) = true;
    return FALSE;
}

// Whether the window or one of its visible children still waits for its WM_PAINT.
bool WaitsForPaint(HWND window) {
    bool unpainted = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    if (!unpainted) EnumChildWindows(window, NoteUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return unpainted;
}

// Another process paints its children on its own time: a picture taken meanwhile lacks some of them.
bool PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (!WaitUntil([&] { return !WaitsForPaint(window); })) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) && WaitUntilPainted(window);
}

}  // namespace

bool SaveWindowShot(HWND window, const std::wstring& path) {
    RECT frame{};
    if (!GetWindowRect(window, &frame)) return false;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Where the window's left (top) edge goes for each part: at the screen's edge, then flush with the far edge.
    const auto places = [](int size, int screenSize) {
        std::vector<int> at{0};
        if (size > screenSize) at.push_back(screenSize - size);
        return at;
    };
    const bool fits = width <= screenWidth && height <= screenHeight;
    bool painted = fits ? PaintNow(window) : true;
    const bool saved = SaveBitmap(path, width, height, [&](HDC memory, HDC screen) {
        for (int x : fits ? std::vector<int>{frame.left} : places(width, screenWidth)) {
            for (int y : fits ? std::vector<int>{frame.top} : places(height, screenHeight)) {
                if (!fits) {
                    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                    painted = PaintNow(window) && painted;
                }
                // The part of the window that is on the screen now.
                const int left = std::max(0, -x), top = std::max(0, -y);
                const int right = std::min(width, screenWidth - x), bottom = std::min(height, screenHeight - y);
                BitBlt(memory, left, top, right - left, bottom - top, screen, x + left, y + top, SRCCOPY);
            }
        }
    });
    if (!fits) SetWindowPos(window, nullptr, frame.left, frame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return painted && saved;
}

}  // namespace hctest
