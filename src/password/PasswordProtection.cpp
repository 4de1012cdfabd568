#include "password/PasswordProtection.h"

#include "password/PasswordPrompt.h"
#include "password/SetPasswordDialog.h"
#include "settings/Settings.h"

namespace hc {

namespace {
constexpr wchar_t kWrongCurrentPasswordCaption[] = L"Quillmere";

// Keeps the shared reference for exactly as long as the window exists.
template <class T>
class Shared {
public:
    Shared(T*& reference, T& value) : reference_(reference) { reference_ = &value; }
    ~Shared() { reference_ = nullptr; }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

private:
    T*& reference_;
};
}  // namespace

bool PasswordProtection::AskForPassword(HWND owner) {
    if (prompt_) return false;  // the open prompt decides
    // A new prompt for each question: nothing accepted by an earlier one counts here.
    TPassword_f prompt(owner, password_, store_, messages_);
    const Shared shared(prompt_, prompt);
    return prompt.ShowModal() == IDOK && prompt.Accepted();
}

void PasswordProtection::Cancel() {
    if (prompt_) prompt_->Cancel();
    // A privacy action must not leave "Set password" on the screen either.
    if (dialog_) dialog_->Cancel();
}

void PasswordProtection::Passwords1Click(HWND owner) {
    // Destroying an open prompt would pull it from under its own modal loop; let it finish instead.
    if (prompt_) {
        prompt_->BringToFront();
        return;
    }
    if (dialog_) {
        dialog_->BringToFront();
        return;
    }
    if (!password_.IsSet()) {
        // With the box ticked, a new password set without a question would unlock whatever it protects.
        if (settings_.cbPassword)
            messages_.Warning(kNoPasswordToCheckText);
        else
            ShowSetPasswordDialog(owner);
        return;
    }
    SecretText typed;
    {
        const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        TPassword_f prompt(owner, password_, store_, messages_);
        SetCursor(previous);
        const Shared shared(prompt_, prompt);
        prompt.SetLabel(kEnterPasswordLabel);
        prompt.Tag = TPassword_f::kVerifyTag;
        if (prompt.ShowModal() != IDOK) return;
        typed = prompt.TypedText();
    }
    if (!password_.Check(typed.View())) {
        messages_.Box(nullptr, kWrongPasswordText, kWrongCurrentPasswordCaption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
        return;
    }
    ShowSetPasswordDialog(owner);
}

bool PasswordProtection::RequirePasswordTicked(HWND owner) {
    if (password_.IsSet()) return true;
    // An open prompt or dialog is still deciding; this tick waits for nothing and stays off.
    if (prompt_ || dialog_) {
        Passwords1Click(owner);
        return false;
    }
    ShowSetPasswordDialog(owner);
    return password_.IsSet();
}

void PasswordProtection::ReportStoreAtStartUp() {
    const bool unreadable = password_.State() == StoredPasswordState::Unreadable;
    if (!settings_.cbPassword) {
        if (unreadable) messages_.Warning(kPasswordUnreadableText);
        return;
    }
    if (password_.IsSet()) return;
    const wchar_t* question = unreadable ? kPasswordUnreadableQuestion : kNoPasswordStoredQuestion;
    if (messages_.Box(nullptr, question, kWarningCaption, MB_YESNO | MB_ICONWARNING | MB_TASKMODAL) == IDYES)
        ShowSetPasswordDialog(nullptr);
}

void PasswordProtection::ShowSetPasswordDialog(HWND owner) {
    TPasswordDlg dialog(owner, password_, messages_);
    const Shared shared(dialog_, dialog);
    dialog.ShowModal();
}

}  // namespace hc
