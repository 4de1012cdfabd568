#include "app/CloseRequestWindow.h"

namespace hc {

CloseRequestWindow::CloseRequestWindow(std::function<bool()> onCloseRequested)
    : onCloseRequested_(std::move(onCloseRequested)) {
    RegisterWindowClass(kClassName);
    // A top-level window (FindWindow does not see message-only ones), never shown: no title, no taskbar button.
    CreateWindowFor(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0);
}

CloseRequestWindow::~CloseRequestWindow() {
    if (hwnd) DestroyWindow(hwnd);
}

LRESULT CloseRequestWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The window lives as long as the program: the request ends the program, not this window.
    if (msg == WM_CLOSE) return onCloseRequested_ && onCloseRequested_() ? 1 : 0;
    return Default(msg, wp, lp);
}

}  // namespace hc
