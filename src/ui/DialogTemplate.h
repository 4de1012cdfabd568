#pragma once
#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ui/ControlTable.h"
#include "ui/Window.h"

namespace hc {

// An in-memory dialog template: the dialog gets the system dialog class and keyboard handling
// without a resource script. The controls come from a table in tab order.
class DialogTemplate {
public:
    // windowClass: a class registered with RegisterDialogClass, for a dialog that tests and the shell know by its
    // class name; null for the system dialog class.
    DialogTemplate(DWORD style, DWORD exStyle, short width, short height, const wchar_t* title,
                   std::span<const ControlRow> controls, const wchar_t* windowClass = nullptr);
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Control(const ControlRow& row);
    void Dword(DWORD value);
    void Text(const wchar_t* text);

    std::vector<WORD> words_;
};

// A window class that behaves as the system dialog class under a name of its own.
bool RegisterDialogClass(const wchar_t* className);

void CentreOnScreen(HWND window);
std::wstring WindowText(HWND window);
// Asks every window of this thread that the owner owns (its message boxes) to close.
void CloseOwnedWindows(HWND owner);

// The dialog procedure of a dialog object stored in DWLP_USER: until the object is stored, the dialog gets the
// default handling; no exception crosses into the window manager.
template <class Dialog>
INT_PTR CALLBACK DialogProcFor(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return msg == WM_INITDIALOG ? TRUE : FALSE;
    try {
        return self->OnMessage(msg, wp, lp);
    } catch (const std::exception& failure) {
        ReportUnhandledFailure(&failure);
    } catch (...) {
        ReportUnhandledFailure(nullptr);
    }
    return FALSE;
}

// The same for a dialog object that comes as the creation parameter (a friend:
// `template <class> friend struct DialogBinding;`).
template <class Dialog>
struct DialogBinding {
    static INT_PTR CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        if (msg != WM_INITDIALOG) return DialogProcFor<Dialog>(window, msg, wp, lp);
        SetWindowLongPtrW(window, DWLP_USER, lp);
        return FALSE;  // the dialog sets the focus itself when it is shown
    }
};

// Shows a dialog modally to its owner (which may be null) and runs its loop until result is set or the dialog
// is gone. preview sees each message first and may take it (return true). A WM_QUIT that arrives is posted
// again for the main loop.
void RunModal(HWND dialog, HWND owner, const int& result, const std::function<bool(const MSG&)>& preview = {});

}  // namespace hc
