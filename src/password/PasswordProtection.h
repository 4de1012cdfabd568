#pragma once
#include <windows.h>

#include "engine/Collaborators.h"
#include "password/PasswordStore.h"
#include "platform/Messages.h"

namespace hc {

inline constexpr wchar_t kPasswordUnreadableText[] =
    L"The stored unhide password could not be read. It protects nothing, and while \"Require passwords to unhide "
    L"windows\" is ticked no password can show hidden windows again. Set a new one on the Options page.";
// While the box is ticked with nothing readable to check, nothing could show hidden windows: a new password is
// the way out, and no weaker than what anyone at the keyboard can do in the registry.
inline constexpr wchar_t kPasswordUnreadableQuestion[] =
    L"The stored unhide password could not be read. It protects nothing, and while \"Require passwords to unhide "
    L"windows\" is ticked no password can show hidden windows again.\n\nDo you want to set a new password now? It "
    L"will unhide them.";
inline constexpr wchar_t kNoPasswordStoredQuestion[] =
    L"\"Require passwords to unhide windows\" is ticked, but no password is stored, so no password could show "
    L"hidden windows again.\n\nDo you want to set a new password now? It will unhide them.";
inline constexpr wchar_t kNoPasswordToCheckText[] =
    L"No readable password is stored, so the current one cannot be checked first. To set a new password, untick "
    L"\"Require passwords to unhide windows\" and tick it again.";

struct Settings;
class TPassword_f;
class TPasswordDlg;

// The unhide password as the rest of the program uses it: the prompt behind the unhide gate, and the
// set-password flow behind "Manage...". Holds the one shared reference to an open prompt.
class PasswordProtection final : public UnhidePrompt {
public:
    PasswordProtection(UnhidePassword& password, const PasswordStore& store, Messages& messages,
                       const Settings& settings)
        : password_(password), store_(store), messages_(messages), settings_(settings) {}

    bool IsOpen() override { return prompt_ != nullptr; }
    bool AskForPassword(HWND owner) override;
    // Closes an open prompt, and an open set-password dialog, as their Cancel buttons would.
    void Cancel() override;

    // "Manage...": the set-password dialog after the current password was typed into the prompt; at once when
    // no password is set and "Require passwords to unhide windows" is unticked. Ticked with no readable password,
    // there is nothing to ask for, so it says how to set one and changes nothing.
    void Passwords1Click(HWND owner);
    void ShowSetPasswordDialog(HWND owner);
    // "Require passwords to unhide windows" being ticked: with no password set, "Set password" opens first.
    // True when the box may stay ticked (a password is set now).
    bool RequirePasswordTicked(HWND owner);
    // Once, at start-up and never during a panic: a store that cannot be read, or the box ticked over no
    // password, is said rather than taken for protection. With the box ticked it offers to set a new password.
    void ReportStoreAtStartUp();

private:
    UnhidePassword& password_;
    const PasswordStore& store_;
    Messages& messages_;
    const Settings& settings_;
    TPassword_f* prompt_ = nullptr;
    TPasswordDlg* dialog_ = nullptr;
};

}  // namespace hc
