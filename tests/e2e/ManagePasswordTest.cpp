#include <gtest/gtest.h>

#include <algorithm>

#include "HcProcess.h"
#include "MainWindowDriver.h"
#include "PasswordSupport.h"
#include "TestSupport.h"
#include "password/PasswordPrompt.h"
#include "password/PasswordProtection.h"
#include "password/PasswordStore.h"
#include "password/SetPasswordDialog.h"

namespace hctest {
namespace {

using Dialog = hc::TPasswordDlg;
constexpr wchar_t kRequire[] = L"Require passwords to unhide windows";

// The whole way a user takes: ticking "Require passwords to unhide windows" with no password asks for one first
// (Cancel leaves the box unticked), the unhide key then asks for it, and the main window that lists the hidden
// windows stays shut behind it.
TEST(ManagePassword, TickingTheBoxSetsThePasswordFirstAndItThenProtectsTheUnhideKeyAndTheMainWindow) {
    ScopedCleanKey settings;
    ScopedCleanKey store{hc::kPasswordStoreKey};
    settings.SetString(L"StartUp", L"Tray", L"0");  // the main window shows at start
    settings.SetString(L"StartUp", L"UsePW", L"0");
    WindowHelper helper;
    HWND diary = helper.Open(L"Diary");
    HcProcess hc;
    ASSERT_TRUE(hc.Start());
    ASSERT_TRUE(hc.WaitUntilStarted());
    MainWindowDriver main(hc.ProcessId());
    ASSERT_TRUE(main.WaitUntilShown());
    ASSERT_TRUE(main.Click(L"Specify additional actions"));

    ASSERT_TRUE(main.ClickWithoutWaiting(kRequire));
    HWND dialog = WaitForDialogOf(hc.ProcessId(), hc::kSetPasswordTitle);
    ASSERT_TRUE(dialog);
    ClickButton(dialog, Dialog::kIdBitBtn2);  // Cancel
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    main.Settle();
    EXPECT_FALSE(main.Checked(kRequire));

    ASSERT_TRUE(main.ClickWithoutWaiting(kRequire));
    dialog = WaitForDialogOf(hc.ProcessId(), hc::kSetPasswordTitle);
    ASSERT_TRUE(dialog);
    SetDlgItemTextW(dialog, Dialog::kIdPassword, L"Tulip Field 7");
    SetDlgItemTextW(dialog, Dialog::kIdConfirmPassword, L"Tulip Field 7");
    SetDlgItemTextW(dialog, Dialog::kIdPWHint, L"spring");
    ClickButton(dialog, Dialog::kIdBitBtn1);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    main.Settle();
    EXPECT_TRUE(main.Checked(kRequire));
    const auto stored = [] { return RawRegistryValue(std::wstring(hc::kPasswordStoreKey) + L"\\HKAcc", L"Key"); };
    ASSERT_TRUE(WaitUntil([&] { return !stored().empty(); }));
    EXPECT_FALSE(ContainsText(stored(), L"Tulip Field 7"));

    PressKeys({VK_CONTROL}, VK_SPACE);  // closes the main window too
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(diary) && !main.IsShown(); }));
    // The update window, the tray and the Panic Button open the main window only through the same prompt.
    PressKeys({VK_CONTROL}, VK_BACK);
    HWND prompt = WaitForDialogOf(hc.ProcessId(), hc::kPromptTitle);
    ASSERT_TRUE(prompt);
    SetDlgItemTextW(prompt, hc::TPassword_f::kIdPassWord, L"Tulip Field 7");
    ClickButton(prompt, hc::TPassword_f::kIdButton1);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(diary) != FALSE; }));
}

// A password store that exists but cannot be read, with "Require passwords to unhide windows" ticked: said once,
// at start-up, with the offer of a new password, the one way out.
class UnreadableStore : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.SetString(L"StartUp", L"Tray", L"1");
        settings_.SetString(L"StartUp", L"UsePW", L"1");
        store_.SetDword(L"HKAcc", L"Key", 42);  // a value of the wrong type
        diary_ = helper_.Open(L"Diary");
    }
    // Starts and answers the offer with this button.
    void StartAndAnswerOffer(int button) {
        ASSERT_TRUE(hc_.Start());
        HWND offer = WaitForDialogOf(hc_.ProcessId(), L"Warning", 15000);
        ASSERT_TRUE(offer);
        EXPECT_EQ(MessageBoxText(offer), hc::kPasswordUnreadableQuestion);
        ClickButton(offer, button);
    }
    // Ctrl+Space, then Ctrl+Backspace: the prompt that asks for the password.
    HWND PanicAndAskBack() {
        PressKeys({VK_CONTROL}, VK_SPACE);
        if (!WaitUntil([&] { return !IsWindowVisible(diary_); })) return nullptr;
        PressKeys({VK_CONTROL}, VK_BACK);
        return WaitForDialogOf(hc_.ProcessId(), hc::kPromptTitle);
    }

    ScopedCleanKey settings_;
    ScopedCleanKey store_{hc::kPasswordStoreKey};
    WindowHelper helper_;
    HWND diary_ = nullptr;
    HcProcess hc_;
};

// Declined, the store is no protection that opens: the prompt then takes no entry at all.
TEST_F(UnreadableStore, DeclinedThePromptTakesNoEntryAndTheWindowsStayHidden) {
    ASSERT_NO_FATAL_FAILURE(StartAndAnswerOffer(IDNO));
    ASSERT_TRUE(hc_.WaitUntilStarted());
    HWND prompt = PanicAndAskBack();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(CountDialogsOf(hc_.ProcessId(), L"Warning"), 0) << "said again during the panic";
    ClickButton(prompt, hc::TPassword_f::kIdButton1);  // the empty entry
    EXPECT_EQ(AnswerBoxOf(hc_.ProcessId(), L"Hush-Cloak"),
              L"The password you have entered is incorrect. Please try again.");
    EXPECT_TRUE(IsWindowVisible(prompt));
    EXPECT_FALSE(IsWindowVisible(diary_));
    ClickButton(prompt, hc::TPassword_f::kIdCancelBtn);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    EXPECT_FALSE(IsWindowVisible(diary_));
}

TEST_F(UnreadableStore, AcceptedTheNewPasswordUnhides) {
    ASSERT_NO_FATAL_FAILURE(StartAndAnswerOffer(IDYES));
    HWND dialog = WaitForDialogOf(hc_.ProcessId(), hc::kSetPasswordTitle);
    ASSERT_TRUE(dialog);
    SetDlgItemTextW(dialog, Dialog::kIdPassword, L"New Dawn 4");
    SetDlgItemTextW(dialog, Dialog::kIdConfirmPassword, L"New Dawn 4");
    ClickButton(dialog, Dialog::kIdBitBtn1);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    ASSERT_TRUE(hc_.WaitUntilStarted());
    HWND prompt = PanicAndAskBack();
    ASSERT_TRUE(prompt);
    SetDlgItemTextW(prompt, hc::TPassword_f::kIdPassWord, L"New Dawn 4");
    ClickButton(prompt, hc::TPassword_f::kIdButton1);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(diary_) != FALSE; }));
}

}  // namespace
}  // namespace hctest
