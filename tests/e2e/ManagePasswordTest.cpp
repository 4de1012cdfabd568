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

// A password store that exists but cannot be read is said once, at start-up, and is no protection that opens:
// the prompt then takes no entry at all, and the hidden windows stay hidden.
TEST(ManagePassword, AnUnreadableStoreIsSaidOnceAtStartUpAndThePromptThenTakesNoEntry) {
    ScopedCleanKey settings;
    ScopedCleanKey store{hc::kPasswordStoreKey};
    settings.SetString(L"StartUp", L"Tray", L"1");
    settings.SetString(L"StartUp", L"UsePW", L"1");
    store.SetDword(L"HKAcc", L"Key", 42);  // a value of the wrong type
    WindowHelper helper;
    HWND diary = helper.Open(L"Diary");
    HcProcess hc;
    ASSERT_TRUE(hc.Start());
    EXPECT_EQ(AnswerBoxOf(hc.ProcessId(), L"Warning", 15000), hc::kPasswordUnreadableText);
    ASSERT_TRUE(hc.WaitUntilStarted());

    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(diary); }));
    PressKeys({VK_CONTROL}, VK_BACK);
    HWND prompt = WaitForDialogOf(hc.ProcessId(), hc::kPromptTitle);
    ASSERT_TRUE(prompt);
    EXPECT_EQ(CountDialogsOf(hc.ProcessId(), L"Warning"), 0) << "said again during the panic";
    ClickButton(prompt, hc::TPassword_f::kIdButton1);  // the empty entry
    EXPECT_EQ(AnswerBoxOf(hc.ProcessId(), L"Hush-Cloak"),
              L"The password you have entered is incorrect. Please try again.");
    EXPECT_TRUE(IsWindowVisible(prompt));
    EXPECT_FALSE(IsWindowVisible(diary));
    ClickButton(prompt, hc::TPassword_f::kIdCancelBtn);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    EXPECT_FALSE(IsWindowVisible(diary));
}

}  // namespace
}  // namespace hctest
