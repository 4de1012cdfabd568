#include "password/SetPasswordDialog.h"

#include "settings/Configuration.h"
#include "ui/DialogTemplate.h"

namespace hc {

namespace {
constexpr int kIdLabels = 1111;

HWND CreateSetPasswordDialog(HWND owner, LPARAM self) {
    DialogTemplate layout(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 200, 106, kSetPasswordTitle);
    const wchar_t* labels[] = {L"Old password", L"New password", L"Confirm password", L"Hint"};
    for (short row = 0; row < 4; ++row)
        layout.Item(kStaticClass, labels[row], kIdLabels + row, SS_LEFT, 8, static_cast<short>(10 + 18 * row), 66, 9);
    constexpr DWORD kSecret = WS_BORDER | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL;
    // Listed in tab order, which opens in "New password" and reaches "Old password" last.
    layout.Item(kEditClass, L"", TPasswordDlg::kIdPassword, kSecret, 78, 26, 114, 13);
    layout.Item(kEditClass, L"", TPasswordDlg::kIdConfirmPassword, kSecret, 78, 44, 114, 13);
    layout.Item(kEditClass, L"", TPasswordDlg::kIdPWHint, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 78, 62, 114, 13);
    layout.Item(kButtonClass, L"Apply", TPasswordDlg::kIdBitBtn1, BS_PUSHBUTTON | WS_TABSTOP, 84, 84, 52, 15);
    layout.Item(kButtonClass, L"Cancel", TPasswordDlg::kIdBitBtn2, BS_PUSHBUTTON | WS_TABSTOP, 140, 84, 52, 15);
    layout.Item(kEditClass, L"", TPasswordDlg::kIdOldPW, kSecret, 78, 8, 114, 13);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), layout.get(), owner,
                                      &DialogBinding<TPasswordDlg>::Proc, self);
}
}  // namespace

TPasswordDlg::TPasswordDlg(HWND owner, UnhidePassword& password, Messages& messages)
    : owner_(owner), password_(password), messages_(messages) {
    hwnd_ = CreateSetPasswordDialog(owner, reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return;
    for (int id : {kIdOldPW, kIdPassword, kIdConfirmPassword})
        SendDlgItemMessageW(hwnd_, id, EM_SETPASSWORDCHAR, L'*', 0);
    CentreOnScreen(hwnd_);
}

TPasswordDlg::~TPasswordDlg() {
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
}

int TPasswordDlg::ShowModal() {
    if (!hwnd_) return IDCANCEL;
    modalResult_ = 0;
    SetFocus(GetDlgItem(hwnd_, kIdPassword));
    RunModal(hwnd_, owner_, modalResult_);
    const int result = modalResult_ == IDOK ? IDOK : IDCANCEL;
    FormClose(result);
    return result;
}

void TPasswordDlg::Cancel() {
    if (!hwnd_) return;
    modalResult_ = IDCANCEL;
    CloseOwnedWindows(hwnd_);
    ShowWindow(hwnd_, SW_HIDE);
}

void TPasswordDlg::BringToFront() {
    if (hwnd_) SetForegroundWindow(hwnd_);
}

INT_PTR TPasswordDlg::OnMessage(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED) return FALSE;
            // IDOK and IDCANCEL (Enter and Escape) have no button here and close nothing.
            if (LOWORD(wp) == kIdBitBtn1) Close(IDOK);
            if (LOWORD(wp) == kIdBitBtn2) Close(IDCANCEL);
            return TRUE;
        case WM_CLOSE:  // the title bar's close box
            Close(IDCANCEL);
            return TRUE;
        case WM_NCDESTROY:  // with its owner, when the program ends during the dialog
            hwnd_ = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

void TPasswordDlg::Close(int result) {
    if (FormCloseQuery(result)) modalResult_ = result;
}

bool TPasswordDlg::FormCloseQuery(int result) {
    if (result != IDOK) return true;
    if (!password_.Check(Text(kIdOldPW))) {
        messages_.Box(hwnd_, L"Old password is incorrect, please try again.", kErrorCaption,
                      MB_OK | MB_ICONERROR | MB_TASKMODAL);
        Empty(kIdOldPW);
        return false;
    }
    const std::wstring newPassword = Text(kIdPassword);
    if (!newPassword.empty() && newPassword == Text(kIdConfirmPassword)) return true;
    messages_.Box(hwnd_, L"Validation error. The passwords do not match.", L" Error", MB_OK | MB_ICONERROR);
    Empty(kIdPassword);
    Empty(kIdConfirmPassword);
    return false;
}

void TPasswordDlg::FormClose(int result) {
    if (result != IDOK) return;
    if (!password_.Set(Text(kIdPassword), Text(kIdPWHint)))
        messages_.Box(owner_, L"An unknown error occurred recording your password. Please try again", kApplicationTitle,
                      MB_OK);
}

std::wstring TPasswordDlg::Text(int id) const { return WindowText(GetDlgItem(hwnd_, id)); }

void TPasswordDlg::Empty(int id) { SetDlgItemTextW(hwnd_, id, L""); }

}  // namespace hc
