#include "app/ControllerWindow.h"

#include "settings/Configuration.h"

namespace hc {

void KeepOffTaskbar(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    SetWindowLongW(window, GWL_EXSTYLE, (style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    ShowWindow(window, SW_HIDE);
}

TForm2::TForm2() {
    RegisterWindowClass(kClassName);
    CreateWindowFor(WS_EX_TOOLWINDOW, kClassName, kApplicationTitle, WS_POPUP, 0, 0, 0, 0);
}

LRESULT TForm2::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace hc
