#include <gtest/gtest.h>

#include "HotkeyDoubles.h"
#include "PasswordSupport.h"
#include "TestSupport.h"
#include "password/PasswordHash.h"
#include "password/PasswordPrompt.h"
#include "password/PasswordProtection.h"
#include "password/SetPasswordDialog.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "ui/DialogTemplate.h"

namespace hc {
namespace {

using hctest::ControlText;
using hctest::Press;
using hctest::Type;
using Shown = hctest::RecordingMessages::Shown;
using Dlg = TPasswordDlg;
using Prompt = TPassword_f;

const std::wstring kHashPrefix = kPasswordHashPrefix;
const Shown kMismatch{nullptr, L"Validation error. The passwords do not match.", L" Error", MB_OK | MB_ICONERROR};
const Shown kWrongOld{nullptr, L"Old password is incorrect, please try again.", L"Error",
                      MB_OK | MB_ICONERROR | MB_TASKMODAL};

// The flows as "Manage..." and the unhide gate run them, on real dialogs and the real registry; every box is
// recorded instead of shown.
class PasswordFlowTest : public ::testing::Test {
protected:
    hctest::ScopedCleanKey storeKey_{kPasswordStoreKey};
    hctest::RecordingMessages messages_;
    Settings settings_;
    PasswordStore store_;
    UnhidePassword password_{store_};
    PasswordProtection protection_{password_, store_, messages_, settings_};

    std::wstring StoredKey() const { return std::wstring(store_.LoadStoredPassword().key.View()); }
    static Shown At(Shown box, HWND owner) {
        box.owner = owner;
        return box;
    }
    // Applies new and confirm texts in the set-password dialog.
    static void Apply(HWND dialog, const std::wstring& old, const std::wstring& fresh, const std::wstring& confirm) {
        Type(dialog, Dlg::kIdOldPW, old);
        Type(dialog, Dlg::kIdPassword, fresh);
        Type(dialog, Dlg::kIdConfirmPassword, confirm);
        Press(dialog, Dlg::kIdBitBtn1);
    }
};

TEST_F(PasswordFlowTest, FirstUseOpensSetPasswordAtOnceAndTheRegistryThenHoldsOnlyAHashAndThePlainHint) {
    password_.Load();
    std::vector<int> tabOrder;
    bool enterOrEscapeClosed = false;
    hctest::ModalScript script;
    std::vector<std::wstring> windowOrder;
    script.Then(kSetPasswordTitle, [&](HWND dialog) {
        hctest::SaveShot(L"password-set");
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t className[32] = {};
            GetClassNameW(child, className, 32);
            const bool box = std::wstring(className) == L"Edit";
            windowOrder.push_back(box ? L"box " + std::to_wstring(GetDlgCtrlID(child)) : WindowText(child));
        }
        for (HWND at = GetFocus(); tabOrder.size() < 7; at = GetNextDlgTabItem(dialog, at, FALSE))
            tabOrder.push_back(GetDlgCtrlID(at));
        Type(dialog, Dlg::kIdPassword, L"Blue Moon 42");
        Type(dialog, Dlg::kIdConfirmPassword, L"Blue Moon 42");
        Type(dialog, Dlg::kIdPWHint, L"the song");
        for (WORD key : {VK_RETURN, VK_ESCAPE}) hctest::PressKeyInDialog(dialog, key);
        enterOrEscapeClosed = !IsWindowVisible(dialog) || !messages_.shown.empty();
        Press(dialog, Dlg::kIdBitBtn1);
    });
    protection_.Passwords1Click(nullptr);

    ASSERT_TRUE(script.Done());
    EXPECT_EQ(tabOrder, (std::vector<int>{Dlg::kIdPassword, Dlg::kIdConfirmPassword, Dlg::kIdPWHint, Dlg::kIdBitBtn1,
                                          Dlg::kIdBitBtn2, Dlg::kIdOldPW, Dlg::kIdPassword}));
    // Each label right before its box, in the tab order, so the label "Old password" comes last but one.
    const auto box = [](int id) { return L"box " + std::to_wstring(id); };
    EXPECT_EQ(windowOrder, (std::vector<std::wstring>{L"New password", box(Dlg::kIdPassword), L"Confirm password",
                                                      box(Dlg::kIdConfirmPassword), L"Hint", box(Dlg::kIdPWHint),
                                                      L"Apply", L"Cancel", L"Old password", box(Dlg::kIdOldPW)}));
    EXPECT_FALSE(enterOrEscapeClosed);
    EXPECT_TRUE(messages_.shown.empty());
    const std::wstring keyPath = std::wstring(kPasswordStoreKey) + L"\\HKAcc";
    const auto raw = hctest::RawRegistryValue(keyPath, L"Key");
    EXPECT_TRUE(StoredKey().starts_with(kHashPrefix)) << StoredKey();
    EXPECT_FALSE(hctest::ContainsText(raw, L"Blue Moon 42"));
    EXPECT_FALSE(hctest::ContainsText(raw, L"Blue"));
    EXPECT_EQ(store_.ReadHint(), L"the song");
    // The new password is in force at once, and survives a new start.
    EXPECT_TRUE(password_.Check(L"Blue Moon 42"));
    UnhidePassword restarted(store_);
    restarted.Load();
    EXPECT_TRUE(restarted.Check(L"Blue Moon 42"));
    EXPECT_FALSE(restarted.Check(L"blue moon 42"));
}

TEST_F(PasswordFlowTest, TheDialogKeepsOpenOnEveryFailedCheckEmptiesTheNamedFieldsAndItsCloseBoxStoresNothing) {
    ASSERT_TRUE(password_.Set(L"Old One", L"first"));
    const std::wstring before = StoredKey();
    HWND dialog = nullptr;
    std::vector<std::wstring> afterMismatch, afterWrongOld;
    bool openAfterAll = false;
    hctest::ModalScript script;
    script.Then(kPromptTitle, [&](HWND prompt) {
        Type(prompt, Prompt::kIdPassWord, L"Old One");
        Press(prompt, Prompt::kIdButton1);
    });
    script.Then(kSetPasswordTitle, [&](HWND shown) {
        dialog = shown;
        Apply(dialog, L"Old One", L"", L"");
        Type(dialog, Dlg::kIdPWHint, L"kept");
        Apply(dialog, L"Old One", L"abc", L"abd");
        afterMismatch = {ControlText(dialog, Dlg::kIdOldPW), ControlText(dialog, Dlg::kIdPassword),
                         ControlText(dialog, Dlg::kIdConfirmPassword), ControlText(dialog, Dlg::kIdPWHint)};
        for (int attempt = 0; attempt < 3; ++attempt) Apply(dialog, L"old one", L"New", L"New");
        afterWrongOld = {ControlText(dialog, Dlg::kIdOldPW), ControlText(dialog, Dlg::kIdPassword),
                         ControlText(dialog, Dlg::kIdConfirmPassword), ControlText(dialog, Dlg::kIdPWHint)};
        openAfterAll = IsWindowVisible(dialog);
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    protection_.Passwords1Click(nullptr);

    ASSERT_TRUE(script.Done());
    EXPECT_EQ(messages_.shown, (std::vector<Shown>{At(kMismatch, dialog), At(kMismatch, dialog), At(kWrongOld, dialog),
                                                   At(kWrongOld, dialog), At(kWrongOld, dialog)}));
    EXPECT_EQ(afterMismatch, (std::vector<std::wstring>{L"Old One", L"", L"", L"kept"}));
    EXPECT_EQ(afterWrongOld, (std::vector<std::wstring>{L"", L"New", L"New", L"kept"}));
    EXPECT_TRUE(openAfterAll);
    EXPECT_EQ(StoredKey(), before);
    EXPECT_EQ(store_.ReadHint(), L"first");
}

TEST_F(PasswordFlowTest, AChangeAsksForTheCurrentPasswordFirstAndTheSecondChangeExpectsTheFirstOne) {
    ASSERT_TRUE(password_.Set(L"One", L""));
    std::wstring label;
    hctest::ModalScript script;
    // A wrong current password ends the flow with its box; Cancel ends it silently.
    script.Then(kPromptTitle, [&](HWND prompt) {
        label = ControlText(prompt, Prompt::kIdLabel1);
        Type(prompt, Prompt::kIdPassWord, L"one");
        Press(prompt, Prompt::kIdButton1);
    });
    protection_.Passwords1Click(nullptr);
    script.Then(kPromptTitle, [&](HWND prompt) { Press(prompt, Prompt::kIdCancelBtn); });
    protection_.Passwords1Click(nullptr);
    EXPECT_EQ(label, L"Enter your password");
    EXPECT_EQ(messages_.shown,
              (std::vector<Shown>{{nullptr, L"The password you have entered is incorrect. Please try again.",
                                   L"Quillmere", MB_OK | MB_ICONERROR | MB_TASKMODAL}}));

    for (const auto& [current, next] : {std::pair{L"One", L"Two"}, std::pair{L"Two", L"Three"}}) {
        script.Then(kPromptTitle, [&](HWND prompt) {
            Type(prompt, Prompt::kIdPassWord, current);
            Press(prompt, Prompt::kIdButton1);
        });
        script.Then(kSetPasswordTitle, [&](HWND dialog) { Apply(dialog, current, next, next); });
        protection_.Passwords1Click(nullptr);
        ASSERT_TRUE(script.Done());
        EXPECT_TRUE(password_.Check(next));
    }
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_FALSE(password_.Check(L"Two"));
}

TEST_F(PasswordFlowTest, AnOldPlainPasswordIsHashedWhenLoadedStillUnlocksExactlyAndEachPromptStartsEmpty) {
    storeKey_.SetString(L"HKAcc", L"Key", L"Plain Old");
    password_.Load();
    // Replaced at once, not at its first use.
    const auto raw = hctest::RawRegistryValue(std::wstring(kPasswordStoreKey) + L"\\HKAcc", L"Key");
    EXPECT_TRUE(StoredKey().starts_with(kHashPrefix)) << StoredKey();
    EXPECT_FALSE(hctest::ContainsText(raw, L"Plain Old"));
    EXPECT_EQ(password_.Stored(), StoredKey());
    std::wstring keptAfterWrong, keptAfterRight = L"(not decided)", openedWith = L"(not opened)";
    hctest::ModalScript script;
    script.Then(kPromptTitle, [&](HWND prompt) {
        hctest::SaveShot(L"password-prompt");
        Type(prompt, Prompt::kIdPassWord, L"plain old");
        Press(prompt, Prompt::kIdButton1);
        keptAfterWrong = ControlText(prompt, Prompt::kIdPassWord);
        Type(prompt, Prompt::kIdPassWord, L"Plain Old");
        hctest::PressKeyInDialog(prompt, VK_ESCAPE);  // presses nothing
        hctest::PressKeyInDialog(prompt, VK_RETURN);  // presses "Ok"
        keptAfterRight = ControlText(prompt, Prompt::kIdPassWord);
    });
    EXPECT_TRUE(protection_.AskForPassword(nullptr));
    ASSERT_TRUE(script.Done());
    EXPECT_EQ(keptAfterWrong, L"plain old");
    EXPECT_EQ(keptAfterRight, L"") << "the accepted password stays nowhere once the prompt has decided";
    HWND none = nullptr;
    EXPECT_EQ(messages_.shown.size(), 1u);
    if (!messages_.shown.empty()) {
        EXPECT_EQ(messages_.shown[0].text, L"The password you have entered is incorrect. Please try again.");
        EXPECT_EQ(messages_.shown[0].caption, L"Hush-Cloak");
        EXPECT_EQ(messages_.shown[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_NE(messages_.shown[0].owner, none);
    }
    // The next question starts empty, and an accepted answer before it counts for nothing.
    script.Then(kPromptTitle, [&](HWND prompt) {
        openedWith = ControlText(prompt, Prompt::kIdPassWord);
        SendMessageW(prompt, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_FALSE(protection_.AskForPassword(nullptr));
    EXPECT_EQ(openedWith, L"");
    UnhidePassword restarted(store_);
    restarted.Load();
    EXPECT_TRUE(restarted.Check(L"Plain Old"));
}

TEST_F(PasswordFlowTest, ManageWhileAnUnhidePromptIsOpenBringsItForwardAndAPanicCancelsThePromptAndTheDialog) {
    ASSERT_TRUE(password_.Set(L"pw", L""));
    bool dialogOpened = false;
    bool promptSurvived = false;
    hctest::ModalScript script;
    script.Then(kPromptTitle, [&](HWND prompt) {
        protection_.Passwords1Click(nullptr);
        dialogOpened = hctest::OwnDialog(kSetPasswordTitle) != nullptr;
        promptSurvived = IsWindowVisible(prompt) && GetForegroundWindow() == prompt;
        Type(prompt, Prompt::kIdPassWord, L"pw");
        Press(prompt, Prompt::kIdButton1);
    });
    EXPECT_TRUE(protection_.AskForPassword(nullptr));
    EXPECT_FALSE(dialogOpened);
    EXPECT_TRUE(promptSurvived);
    EXPECT_FALSE(protection_.IsOpen());

    // A privacy action closes the prompt as Cancel would, even with the right password typed.
    script.Then(kPromptTitle, [&](HWND prompt) {
        Type(prompt, Prompt::kIdPassWord, L"pw");
        EXPECT_TRUE(protection_.IsOpen());
        protection_.Cancel();
    });
    EXPECT_FALSE(protection_.AskForPassword(nullptr));
    // The same for the prompt of a change: the flow ends without the dialog.
    script.Then(kPromptTitle, [&](HWND) { protection_.Cancel(); });
    protection_.Passwords1Click(nullptr);
    EXPECT_FALSE(hctest::OwnDialog(kSetPasswordTitle));
    // And "Set password" itself: nothing typed there is stored.
    const std::wstring before = StoredKey();
    script.Then(kPromptTitle, [&](HWND prompt) {
        Type(prompt, Prompt::kIdPassWord, L"pw");
        Press(prompt, Prompt::kIdButton1);
    });
    script.Then(kSetPasswordTitle, [&](HWND dialog) {
        Type(dialog, Dlg::kIdOldPW, L"pw");
        Type(dialog, Dlg::kIdPassword, L"new");
        Type(dialog, Dlg::kIdConfirmPassword, L"new");
        protection_.Cancel();
    });
    protection_.Passwords1Click(nullptr);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(StoredKey(), before);
    EXPECT_TRUE(messages_.shown.empty());
}

// Every way a store can hold no usable password. None of them fails open: with the box ticked the prompt takes
// no entry, not even an empty one, and "Manage..." says how to set a password instead of setting one unasked.
TEST_F(PasswordFlowTest, WithNoReadablePasswordNothingUnlocksAndManageSetsNoneWhileTheBoxIsTicked) {
    const std::wstring section = std::wstring(kPasswordStoreKey) + L"\\HKAcc";
    const Shown noneToCheck{nullptr,
                            L"No readable password is stored, so the current one cannot be checked first. To set a new "
                            L"password, untick \"Require passwords to unhide windows\" and tick it again.",
                            L"Warning", MB_OK | MB_TASKMODAL | MB_ICONWARNING};
    struct Case {
        const char* name;
        std::function<void()> prepare;
        StoredPasswordState state;
    };
    const Case cases[] = {
        {"never set", [] {}, StoredPasswordState::None},
        {"deleted",
         [&] {
             ASSERT_TRUE(password_.Set(L"gone", L""));
             RegDeleteTreeW(HKEY_CURRENT_USER, kPasswordStoreKey);
         },
         StoredPasswordState::None},
        {"wrong type", [&] { storeKey_.SetDword(L"HKAcc", L"Key", 1234); }, StoredPasswordState::Unreadable},
        {"too long", [&] { storeKey_.SetString(L"HKAcc", L"Key", std::wstring(registry::kMaxValueChars + 1, L'x')); },
         StoredPasswordState::Unreadable},
    };
    settings_.cbPassword = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegDeleteTreeW(HKEY_CURRENT_USER, kPasswordStoreKey);
        c.prepare();
        password_.Load();
        EXPECT_EQ(password_.State(), c.state);
        messages_.shown.clear();
        hctest::ModalScript script;
        script.Then(kPromptTitle, [&](HWND prompt) {
            Press(prompt, Prompt::kIdButton1);  // the empty entry
            EXPECT_TRUE(IsWindowVisible(prompt));
            Press(prompt, Prompt::kIdCancelBtn);
        });
        EXPECT_FALSE(protection_.AskForPassword(nullptr));
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].text, kWrongPasswordText);
        protection_.Passwords1Click(nullptr);
        EXPECT_EQ(messages_.shown.back(), noneToCheck);
        EXPECT_FALSE(hctest::OwnDialog(kSetPasswordTitle));
    }
    // A read the system refuses is no "none" either.
    RegDeleteTreeW(HKEY_CURRENT_USER, kPasswordStoreKey);
    storeKey_.SetString(L"HKAcc", L"Key", *MakeStoredPassword(L"locked away"));
    const hctest::ScopedUnreadableKey refused(section);
    ASSERT_TRUE(refused.IsInForce());
    password_.Load();
    EXPECT_EQ(password_.State(), StoredPasswordState::Unreadable);
    EXPECT_FALSE(password_.Check(L""));
    EXPECT_FALSE(password_.Check(L"locked away"));
}

// Ticking "Require passwords to unhide windows" over no password opens "Set password"; Cancel keeps it unticked.
TEST_F(PasswordFlowTest, TickingTheBoxWithNoPasswordAsksForOneFirstAndCancelKeepsItUnticked) {
    password_.Load();
    hctest::ModalScript script;
    script.Then(kSetPasswordTitle, [&](HWND dialog) { Press(dialog, Dlg::kIdBitBtn2); });
    EXPECT_FALSE(protection_.RequirePasswordTicked(nullptr));
    script.Then(kSetPasswordTitle, [&](HWND dialog) { Apply(dialog, L"", L"Tulip", L"Tulip"); });
    EXPECT_TRUE(protection_.RequirePasswordTicked(nullptr));
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(password_.IsSet());
    // With a password set, ticking asks nothing.
    EXPECT_TRUE(protection_.RequirePasswordTicked(nullptr));
    EXPECT_TRUE(messages_.shown.empty());
}

// A hash made with an older, smaller count still verifies, and its next success stores it anew at today's.
TEST_F(PasswordFlowTest, AnOlderHashStillUnlocksAndIsMadeAnewAtTodaysCountAfterItsNextSuccess) {
    const auto old = HashPassword(L"Lantern", crypto::Bytes(kPasswordSaltBytes, 0x11), 100000);
    ASSERT_TRUE(old);
    storeKey_.SetString(L"HKAcc", L"Key", FormatPasswordHash(*old));
    password_.Load();
    EXPECT_FALSE(password_.Check(L"lantern"));
    EXPECT_EQ(StoredKey(), FormatPasswordHash(*old));
    EXPECT_TRUE(password_.Check(L"Lantern"));
    const auto renewed = ParsePasswordHash(StoredKey());
    ASSERT_TRUE(renewed);
    EXPECT_EQ(renewed->iterations, 600000u);
    EXPECT_NE(renewed->salt, old->salt);
    UnhidePassword restarted(store_);
    restarted.Load();
    EXPECT_TRUE(restarted.Check(L"Lantern"));
}

// Said once at start-up, and only where a store cannot be read or the box is ticked over no password; ticked, it
// offers the one way out, a new password.
TEST_F(PasswordFlowTest, StartUpSaysWhenNoPasswordCanBeCheckedAndOffersANewOne) {
    const auto box = [](const wchar_t* text, UINT buttons) {
        return Shown{nullptr, text, L"Warning", buttons | MB_TASKMODAL | MB_ICONWARNING};
    };
    const auto reported = [&](bool ticked) {
        settings_.cbPassword = ticked;
        password_.Load();
        messages_.shown.clear();
        messages_.answer = IDNO;
        protection_.ReportStoreAtStartUp();
        return messages_.shown;
    };
    EXPECT_TRUE(reported(false).empty());
    EXPECT_EQ(reported(true),
              std::vector<Shown>{box(L"\"Require passwords to unhide windows\" is ticked, but no password is stored, so "
                                     L"no password could show hidden windows again.\n\nDo you want to set a new "
                                     L"password now? It will unhide them.",
                                     MB_YESNO)});
    storeKey_.SetDword(L"HKAcc", L"Key", 7);
    EXPECT_EQ(reported(false),
              std::vector<Shown>{box(L"The stored unhide password could not be read. It protects nothing, and while "
                                     L"\"Require passwords to unhide windows\" is ticked no password can show hidden "
                                     L"windows again. Set a new one on the Options page.",
                                     MB_OK)});
    EXPECT_EQ(reported(true), std::vector<Shown>{box(kPasswordUnreadableQuestion, MB_YESNO)});
    ASSERT_TRUE(password_.Set(L"fine", L""));
    EXPECT_TRUE(reported(true).empty());
}

}  // namespace
}  // namespace hc
