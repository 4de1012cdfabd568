#include "ui/Dialogs.h"

namespace hc {

void RunDialogLoop(HWND dialog, const std::function<bool()>& done) {
    MSG msg{};
    while (!done() && IsWindow(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (got == -1) return;
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace hc
