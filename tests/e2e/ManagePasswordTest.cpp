#include <gtest/gtest.h>

#include <algorithm>

#include "HcProcess.h"
#include "MainWindowDriver.h"
#include "PasswordSupport.h"
#include "TestSupport.h"
#include "password/PasswordPrompt.h"
#include "password/PasswordStore.h"
#include "password/SetPasswordDialog.h"

namespace hctest {
namespace {

using Dialog = hc::TPasswordDlg;

// The whole way a user takes: "Manage..." on the Options page sets the password, the unhide key then asks for it,
// and the main window that lists the hidden windows stays shut behind it.
TEST(ManagePassword, SetThroughTheOptionsPageItProtectsTheUnhideKeyAndTheMainWindow) {
    ScopedCleanKey settings;
    ScopedCleanKey store{hc::kPasswordStoreKey};
    settings.SetString(L"StartUp", L"Tray", L"0");  // the main window shows at start
    settings.SetString(L"StartUp", L"UsePW", L"1");
    WindowHelper helper;
    HWND diary = helper.Open(L"Diary");
    HcProcess hc;
    ASSERT_TRUE(hc.Start());
    ASSERT_TRUE(hc.WaitUntilStarted());
    MainWindowDriver main(hc.ProcessId());
    ASSERT_TRUE(main.WaitUntilShown());
    ASSERT_TRUE(main.Click(L"Specify additional actions"));
    ASSERT_TRUE(main.ClickWithoutWaiting(L"Manage..."));

    // First use: no question first, the dialog itself.
    HWND dialog = WaitForDialogOf(hc.ProcessId(), hc::kSetPasswordTitle);
    ASSERT_TRUE(dialog);
    SetDlgItemTextW(dialog, Dialog::kIdPassword, L"Tulip Field 7");
    SetDlgItemTextW(dialog, Dialog::kIdConfirmPassword, L"Tulip Field 7");
    SetDlgItemTextW(dialog, Dialog::kIdPWHint, L"spring");
    ClickButton(dialog, Dialog::kIdBitBtn1);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    const auto stored = [] { return RawRegistryValue(std::wstring(hc::kPasswordStoreKey) + L"\\HKAcc", L"Key"); };
    ASSERT_TRUE(WaitUntil([&] { return !stored().empty(); })) << "nothing stored; a box says: "
                                                              << (FindWindowW(L"#32770", nullptr) ? "yes" : "none");
    const auto key = stored();
    EXPECT_FALSE(ContainsText(key, L"Tulip Field 7"));

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

}  // namespace
}  // namespace hctest
