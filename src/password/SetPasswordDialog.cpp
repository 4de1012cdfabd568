#include "password/SetPasswordDialog.h"

#include <commctrl.h>

#include "settings/Configuration.h"
#include "ui/DialogTemplate.h"

namespace hc {

namespace {
constexpr int kIdLabels = 1111;
constexpr DWORD kSecret = WS_BORDER | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL;

// In tab order, which opens in "New password" and reaches "Old password" (the top row) last; each label comes
// right before its box, so a screen reader names the box by it.
const ControlRow kSetPasswordControls[] = {
    {WC_STATICW, L"New password", kIdLabels + 1, SS_LEFT, 8, 28, 66, 9},
    {WC_EDITW, L"", TPasswordDlg::kIdPassword, kSecret, 78, 26, 114, 13},
    {WC_STATICW, L"Confirm password", kIdLabels + 2, SS_LEFT, 8, 46, 66, 9},
    {WC_EDITW, L"", TPasswordDlg::kIdConfirmPassword, kSecret, 78, 44, 114, 13},
    {WC_STATICW, L"Hint", kIdLabels + 3, SS_LEFT, 8, 64, 66, 9},
    {WC_EDITW, L"", TPasswordDlg::kIdPWHint, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 78, 62, 114, 13},
    {WC_BUTTONW, L"Apply", TPasswordDlg::kIdBitBtn1, BS_PUSHBUTTON | WS_TABSTOP, 84, 84, 52, 15},
    {WC_BUTTONW, L"Cancel", TPasswordDlg::kIdBitBtn2, BS_PUSHBUTTON | WS_TABSTOP, 140, 84, 52, 15},
    {WC_STATICW, L"Old password", kIdLabels, SS_LEFT, 8, 10, 66, 9},
    {WC_EDITW, L"", TPasswordDlg::kIdOldPW, kSecret, 78, 8, 114, 13},
};

HWND CreateSetPasswordDialog(HWND owner, LPARAM self) {
    const DialogTemplate layout(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 200, 106, kSetPasswordTitle,
                                kSetPasswordControls);
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
    // With no password set there is nothing to check; "Old password" must then be left empty.
    const SecretText old = Secret(kIdOldPW);
    if (password_.IsSet() ? !password_.Check(old.View()) : !old.empty()) {
        messages_.Box(hwnd_, L"Old password is incorrect, please try again.", kErrorCaption,
                      MB_OK | MB_ICONERROR | MB_TASKMODAL);
        Empty(kIdOldPW);
        return false;
    }
    const SecretText newPassword = Secret(kIdPassword);
    if (!newPassword.empty() && newPassword.View() == Secret(kIdConfirmPassword).View()) return true;
    messages_.Box(hwnd_, L"Validation error. The passwords do not match.", L" Error", MB_OK | MB_ICONERROR);
    Empty(kIdPassword);
    Empty(kIdConfirmPassword);
    return false;
}

void TPasswordDlg::FormClose(int result) {
    if (result != IDOK) return;
    if (!password_.Set(Secret(kIdPassword).View(), Text(kIdPWHint)))
        messages_.Box(owner_, L"An unknown error occurred recording your password. Please try again", kApplicationTitle,
                      MB_OK);
}

std::wstring TPasswordDlg::Text(int id) const { return WindowText(GetDlgItem(hwnd_, id)); }

SecretText TPasswordDlg::Secret(int id) const { return SecretWindowText(GetDlgItem(hwnd_, id)); }

void TPasswordDlg::Empty(int id) { SetDlgItemTextW(hwnd_, id, L""); }

}  // namespace hc
