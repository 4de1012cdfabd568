#pragma once
#include <windows.h>

#include "engine/Collaborators.h"
#include "password/PasswordStore.h"
#include "platform/Messages.h"

namespace hc {

class TPassword_f;
class TPasswordDlg;

// The unhide password as the rest of the program uses it: the prompt behind the unhide gate, and the
// set-password flow behind "Manage...". Holds the one shared reference to an open prompt.
class PasswordProtection final : public UnhidePrompt {
public:
    PasswordProtection(UnhidePassword& password, const PasswordStore& store, Messages& messages)
        : password_(password), store_(store), messages_(messages) {}

    bool IsOpen() override { return prompt_ != nullptr; }
    bool AskForPassword(HWND owner) override;
    // Closes an open prompt, and an open set-password dialog, as their Cancel buttons would.
    void Cancel() override;

    // "Manage...": the set-password dialog at once when no password is set, otherwise after the current
    // password was typed into the prompt.
    void Passwords1Click(HWND owner);
    void ShowSetPasswordDialog(HWND owner);

private:
    UnhidePassword& password_;
    const PasswordStore& store_;
    Messages& messages_;
    TPassword_f* prompt_ = nullptr;
    TPasswordDlg* dialog_ = nullptr;
};

}  // namespace hc
