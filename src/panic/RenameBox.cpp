#include "panic/RenameBox.h"

#include <commctrl.h>

#include "ui/DialogTemplate.h"

namespace hc {

namespace {
constexpr int kIdPrompt = 1001;
constexpr int kIdText = 1002;

const ControlRow kRenameControls[] = {
    {WC_STATICW, kRenameBoxPrompt, kIdPrompt, SS_LEFT, 7, 7, 226, 10},
    {WC_EDITW, L"", kIdText, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, 226, 13},
    {WC_BUTTONW, L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 129, 44, 50, 15},
    {WC_BUTTONW, L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 183, 44, 50, 15},
};

struct Exchange {
    std::wstring text;
};

INT_PTR CALLBACK RenameProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    try {
        switch (msg) {
            case WM_INITDIALOG: {
                SetWindowLongPtrW(dialog, DWLP_USER, lp);
                const HWND edit = GetDlgItem(dialog, kIdText);
                SetWindowTextW(edit, reinterpret_cast<Exchange*>(lp)->text.c_str());
                SendMessageW(edit, EM_SETSEL, 0, -1);
                SetFocus(edit);
                return FALSE;  // the focus is set
            }
            case WM_COMMAND:
                if (LOWORD(wp) == IDOK) {
                    reinterpret_cast<Exchange*>(GetWindowLongPtrW(dialog, DWLP_USER))->text =
                        WindowText(GetDlgItem(dialog, kIdText));
                    EndDialog(dialog, IDOK);
                    return TRUE;
                }
                if (LOWORD(wp) == IDCANCEL) {
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                }
                return FALSE;
        }
    } catch (...) {
        EndDialog(dialog, IDCANCEL);  // out of memory while reading the text: as if cancelled
    }
    return FALSE;
}
}  // namespace

std::optional<std::wstring> AskPanicDescription(HWND owner, const std::wstring& current) {
    const DialogTemplate layout(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOPMOST, 240, 66,
                                kRenameBoxTitle, kRenameControls);
    Exchange exchange{current};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.get(), owner, &RenameProc,
                                                   reinterpret_cast<LPARAM>(&exchange));
    if (result != IDOK) return std::nullopt;  // Cancel, or the box could not be shown
    return exchange.text;
}

}  // namespace hc
