#pragma once
#include <windows.h>

#include <string>

#include "password/PasswordStore.h"
#include "password/SecretText.h"
#include "platform/Messages.h"

namespace hc {

inline constexpr wchar_t kPromptTitle[] = L"Password required";
inline constexpr wchar_t kEnterPasswordLabel[] = L"Enter your password";
inline constexpr wchar_t kWrongPasswordText[] = L"The password you have entered is incorrect. Please try again.";

// The prompt that asks for the password, created for one question and destroyed afterwards.
// Normal mode: closes only with the right password or with Cancel. Verify mode (Tag kVerifyTag): closes on "Ok"
// whatever was typed, and the caller compares.
class TPassword_f {
public:
    static constexpr int kIdLabel1 = 1001;
    static constexpr int kIdPassWord = 1002;
    static constexpr int kIdButton1 = IDOK;  // "Ok", the default button
    static constexpr int kIdCancelBtn = 1003;
    static constexpr int kIdButton2 = 1004;  // "Help"
    static constexpr int kVerifyTag = 99999;

    TPassword_f(HWND owner, UnhidePassword& password, const PasswordStore& store, Messages& messages);
    ~TPassword_f();
    TPassword_f(const TPassword_f&) = delete;
    TPassword_f& operator=(const TPassword_f&) = delete;

    int Tag = 0;
    // Normal mode: true once the right password closed the prompt. Only the fact is kept, never the text: the
    // box is emptied as soon as the prompt has decided.
    bool Accepted() const { return accepted_; }

    HWND Handle() const { return hwnd_; }
    void SetLabel(const std::wstring& text);
    // IDOK or IDCANCEL.
    int ShowModal();
    // Closes the prompt as its Cancel button would; safe inside its own modal loop.
    void Cancel();
    void BringToFront();
    SecretText TypedText() const;

    void HelpBtnClick();

private:
    template <class>
    friend struct DialogBinding;
    template <class>
    friend INT_PTR CALLBACK DialogProcFor(HWND, UINT, WPARAM, LPARAM) noexcept;
    static LRESULT CALLBACK PassWordProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR self) noexcept;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OKBtnClick();
    bool FormCloseQuery(int result);
    void Close(int result);

    HWND owner_;
    UnhidePassword& password_;
    const PasswordStore& store_;
    Messages& messages_;
    HWND hwnd_ = nullptr;
    int modalResult_ = 0;
    bool accepted_ = false;
};

}  // namespace hc
