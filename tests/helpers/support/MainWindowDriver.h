#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace hctest {

inline constexpr wchar_t kMainWindowCaption[] = L"HushCloak Privacy 6.1";

// The main window of a running HC.exe, driven from outside as a user (or a screen reader) would.
class MainWindowDriver {
public:
    explicit MainWindowDriver(DWORD processId) : processId_(processId) {}

    // The main window once it is visible; null when it did not show in time.
    HWND WaitUntilShown(DWORD timeoutMs = 15000);
    HWND Window() const;
    bool IsShown() const;

    // The first control below the main window with exactly this caption; null when none.
    HWND Control(const std::wstring& caption) const;
    HWND ControlById(int id) const;
    // Clicks a button (navigation buttons, check boxes, push buttons) and waits until the window has handled it;
    // not for a button that opens a modal window.
    bool Click(const std::wstring& caption);
    // Clicks a button that opens a modal window, without waiting for it.
    bool ClickWithoutWaiting(const std::wstring& caption);
    bool Checked(const std::wstring& caption) const;
    std::wstring Text(int id) const;
    // The page on show: the visible page window's first control id, 0 when the page area is empty.
    bool IsOnShow(int id) const;

    // Picks an entry of a drop-down list as the user does (the selection, then the change notice).
    bool Choose(int comboId, const std::wstring& entry);
    // Right-click menu of a list view: opens it as Shift+F10 does and picks the item at this position.
    bool ChooseFromMenu(int listId, int position);

    // Waits until the window has handled everything sent before.
    void Settle() const;

private:
    DWORD processId_;
};

// Another process's list view, read through memory in that process.
class RemoteListView {
public:
    explicit RemoteListView(HWND list);
    ~RemoteListView();
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    int Count() const;
    std::wstring Text(int row, int column) const;
    std::vector<std::wstring> Column(int column) const;
    // The row whose column holds this text, -1 when none.
    int Find(int column, const std::wstring& text) const;
    bool Select(int row);
    int ImageOf(int row) const;

private:
    HWND list_;
    HANDLE process_ = nullptr;
    void* remote_ = nullptr;
};

// Saves a window's picture as a BMP file, also when the window is larger than the screen: it is moved about and
// its parts are put together, then it goes back where it was.
bool SaveWindowShot(HWND window, const std::wstring& path);

}  // namespace hctest
