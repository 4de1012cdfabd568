#include "platform/Controls.h"

#include <commctrl.h>

namespace hc::controls {

void SetText(HWND control, const std::wstring& text) {
    if (IsWindow(control)) SetWindowTextW(control, text.c_str());
}

std::wstring Text(HWND control) {
    if (!IsWindow(control)) return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetProgressRange(HWND progressBar, int maximum) {
    if (IsWindow(progressBar)) SendMessageW(progressBar, PBM_SETRANGE32, 0, maximum);
}

void SetProgressPosition(HWND progressBar, int position) {
    if (IsWindow(progressBar)) SendMessageW(progressBar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int ProgressPosition(HWND progressBar) {
    return IsWindow(progressBar) ? static_cast<int>(SendMessageW(progressBar, PBM_GETPOS, 0, 0)) : 0;
}

void PostQuit(int exitCode) { PostQuitMessage(exitCode); }

bool PumpPendingMessages(int* quitCode) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            if (quitCode) *quitCode = static_cast<int>(msg.wParam);
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace hc::controls
