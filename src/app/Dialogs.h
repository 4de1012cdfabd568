#pragma once
#include <windows.h>

#include <functional>

#include "app/DialogTemplate.h"
#include "app/Window.h"

namespace hc {

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

// Runs the dialog's own message loop until done() or the program is asked to end (the quit request is posted
// again for the main loop).
void RunDialogLoop(HWND dialog, const std::function<bool()>& done);

}  // namespace hc
