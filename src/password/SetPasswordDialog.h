#pragma once
#include <windows.h>

#include <string>

#include "password/PasswordStore.h"
#include "password/SecretText.h"
#include "platform/Messages.h"

namespace hc {

inline constexpr wchar_t kSetPasswordTitle[] = L"Set password";

// The dialog in which the user sets or changes the password and its hint; created for one use.
// Neither button is the default or the cancel button: Enter and Escape press nothing.
class TPasswordDlg {
public:
    static constexpr int kIdOldPW = 1101;
    static constexpr int kIdPassword = 1102;
    static constexpr int kIdConfirmPassword = 1103;
    static constexpr int kIdPWHint = 1104;
    static constexpr int kIdBitBtn1 = 1105;  // "Apply"
    static constexpr int kIdBitBtn2 = 1106;  // "Cancel"

    TPasswordDlg(HWND owner, UnhidePassword& password, Messages& messages);
    ~TPasswordDlg();
    TPasswordDlg(const TPasswordDlg&) = delete;
    TPasswordDlg& operator=(const TPasswordDlg&) = delete;

    HWND Handle() const { return hwnd_; }
    // Shows the dialog modally and stores what was applied; IDOK or IDCANCEL.
    int ShowModal();
    void BringToFront();
    // Closes the dialog as its Cancel button would: nothing is stored. Safe inside its own modal loop.
    void Cancel();

private:
    template <class>
    friend struct DialogBinding;
    template <class>
    friend INT_PTR CALLBACK DialogProcFor(HWND, UINT, WPARAM, LPARAM) noexcept;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void Close(int result);
    bool FormCloseQuery(int result);
    void FormClose(int result);
    std::wstring Text(int id) const;
    SecretText Secret(int id) const;
    void Empty(int id);

    HWND owner_;
    UnhidePassword& password_;
    Messages& messages_;
    HWND hwnd_ = nullptr;
    int modalResult_ = 0;
};

}  // namespace hc
