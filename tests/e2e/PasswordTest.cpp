#include <gtest/gtest.h>

#include <algorithm>

#include "HcProcess.h"
#include "PasswordSupport.h"
#include "TestSupport.h"
#include "password/PasswordHash.h"
#include "password/PasswordPrompt.h"
#include "password/PasswordStore.h"
#include "settings/Configuration.h"

namespace hctest {
namespace {

using Prompt = hc::TPassword_f;
const wchar_t kWrong[] = L"The password you have entered is incorrect. Please try again.";


// HC.exe with "Require passwords to unhide windows" ticked and a password stored as "Manage..." stores it.
class PasswordTest : public ::testing::Test {
protected:
    ScopedCleanKey settingsKey_;
    ScopedCleanKey storeKey_{hc::kPasswordStoreKey};
    HcProcess hc_;
    WindowHelper helper_;
    std::vector<HWND> windows_;

    void SetUp() override {
        settingsKey_.SetString(L"StartUp", L"Tray", L"1");
        settingsKey_.SetString(L"StartUp", L"UsePW", L"1");
        const auto stored = hc::MakeStoredPassword(L"Open Sesame");
        ASSERT_TRUE(stored);
        storeKey_.SetString(L"HKAcc", L"Key", *stored);
        storeKey_.SetString(L"HKAccHelp", L"Hint", L"sesame street");
        windows_ = helper_.OpenMany(L"Diary", 2);
        ASSERT_TRUE(hc_.Start());
        ASSERT_TRUE(hc_.WaitUntilStarted());
        PressKeys({VK_CONTROL}, VK_SPACE);
        ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows_); }));
    }

    HWND AskToUnhide() {
        PressKeys({VK_CONTROL}, VK_BACK);
        return WaitForDialogOf(hc_.ProcessId(), hc::kPromptTitle);
    }
    std::wstring Answer(const wchar_t* caption) { return AnswerBoxOf(hc_.ProcessId(), caption); }
    static std::wstring Typed(HWND prompt) {
        wchar_t text[256] = {};
        GetDlgItemTextW(prompt, Prompt::kIdPassWord, text, 256);
        return text;
    }
    static void Enter(HWND prompt, const wchar_t* text) {
        SetDlgItemTextW(prompt, Prompt::kIdPassWord, text);
        ClickButton(prompt, Prompt::kIdButton1);
    }
};

TEST_F(PasswordTest, UnhideAsksEachTimeWithAnEmptyBoxKeepsAWrongEntryAndRestoresOnlyWithTheRightOne) {
    HWND prompt = AskToUnhide();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(Typed(prompt), L"");
    // Pressed again while the prompt is open: still one prompt.
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_FALSE(WaitUntil([&] { return CountDialogsOf(hc_.ProcessId(), hc::kPromptTitle) > 1; }, 300));
    EXPECT_EQ(CountDialogsOf(hc_.ProcessId(), hc::kPromptTitle), 1);

    Enter(prompt, L"open sesame");
    EXPECT_EQ(Answer(L"Hush-Cloak"), kWrong);
    EXPECT_TRUE(IsWindowVisible(prompt));
    EXPECT_EQ(Typed(prompt), L"open sesame");
    EXPECT_TRUE(AllHidden(windows_));

    Enter(prompt, L"Open Sesame");
    ASSERT_TRUE(WaitUntil([&] { return AllShown(windows_); }));
    EXPECT_FALSE(IsWindow(prompt));

    // The next unhide asks afresh; Cancel shows nothing.
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows_); }));
    prompt = AskToUnhide();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(Typed(prompt), L"");
    ClickButton(prompt, Prompt::kIdCancelBtn);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    EXPECT_FALSE(WaitUntil([&] { return !AllHidden(windows_); }, 300));
    // A panic while the prompt is open closes it as Cancel would, and its error box with it.
    prompt = AskToUnhide();
    ASSERT_TRUE(prompt);
    Enter(prompt, L"Open");
    HWND box = WaitForDialogOf(hc_.ProcessId(), L"Hush-Cloak");
    ASSERT_TRUE(box);
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt) && !IsWindow(box); }));
    EXPECT_FALSE(WaitUntil([&] { return !AllHidden(windows_); }, 300));
    prompt = AskToUnhide();
    ASSERT_TRUE(prompt);
    Enter(prompt, L"Open Sesame");
    EXPECT_TRUE(WaitUntil([&] { return AllShown(windows_); }));
}

TEST_F(PasswordTest, HelpQuotesTheHintOrTheDefaultSentenceAndSaysPlainlyWhenTheStoreIsMissing) {
    HWND prompt = AskToUnhide();
    ASSERT_TRUE(prompt);
    EXPECT_TRUE(GetWindowLongW(prompt, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    ClickButton(prompt, Prompt::kIdButton2);
    EXPECT_EQ(Answer(L"Marrowby for Windows"), L"Your password hint is \"sesame street\"");
    // Every other way to ask: the title bar's help button, F1, a right click on the surface and on the box.
    PostMessageW(prompt, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    EXPECT_EQ(Answer(L"Marrowby for Windows"), L"Your password hint is \"sesame street\"");
    // F1 goes to the window in front: the prompt, once the activation has come back to it from the closed box.
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == prompt; }));
    PressKeys({}, VK_F1);
    EXPECT_EQ(Answer(L"Marrowby for Windows"), L"Your password hint is \"sesame street\"");
    RightClickAt(GetDlgItem(prompt, Prompt::kIdLabel1));
    EXPECT_EQ(Answer(L"Marrowby for Windows"), L"Your password hint is \"sesame street\"");
    EXPECT_TRUE(WindowsOf(hc_.ProcessId(), L"#32768").empty() ||
                std::none_of(WindowsOf(hc_.ProcessId(), L"#32768").begin(), WindowsOf(hc_.ProcessId(), L"#32768").end(),
                             IsWindowVisible));
    RightClickAt(GetDlgItem(prompt, Prompt::kIdPassWord));
    EXPECT_EQ(Answer(L"Marrowby for Windows"), L"Your password hint is \"sesame street\"");
    // The box's own edit menu follows the hint. Whether it opened is not asserted: under Wine, the activation
    // coming back from the closed hint box cancels that menu in about one run of five on a busy machine. Where it
    // opened, Escape closes it before the next step.
    auto menuShown = [&] {
        const auto menus = WindowsOf(hc_.ProcessId(), L"#32768");
        return std::any_of(menus.begin(), menus.end(), IsWindowVisible);
    };
    if (WaitForMenuLoop() && menuShown()) {
        PressKeys({}, VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return !menuShown(); }));
    }

    const std::wstring helpPath = std::wstring(hc::kPasswordStoreKey) + L"\\HKAccHelp";
    HKEY help = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, helpPath.c_str(), 0, KEY_SET_VALUE, &help), ERROR_SUCCESS);
    RegDeleteValueW(help, L"Hint");
    RegCloseKey(help);
    ClickButton(prompt, Prompt::kIdButton2);
    EXPECT_EQ(Answer(L"Marrowby for Windows"), L"Your password hint is \"Your password hint is not defined\"");

    RegDeleteTreeW(HKEY_CURRENT_USER, hc::kPasswordStoreKey);
    ClickButton(prompt, Prompt::kIdButton2);
    EXPECT_EQ(Answer(hc::kApplicationTitle), L"Your password hint is not defined.");
    // The password read at start still holds.
    Enter(prompt, L"Open Sesame");
    EXPECT_TRUE(WaitUntil([&] { return AllShown(windows_); }));
}

}  // namespace
}  // namespace hctest
