#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "HcProcess.h"
#include "TestSupport.h"
#include "hotkeys/HotkeyDialog.h"

namespace hctest {
namespace {

constexpr wchar_t kDialogCaption[] = L"Hushcloak Privacy 6.0";

// Holds a combination system-wide for the test's duration, as another program would.
class HeldHotkey {
public:
    HeldHotkey(int id, UINT modifiers, UINT key) : id_(id) { held_ = RegisterHotKey(nullptr, id, modifiers, key); }
    ~HeldHotkey() {
        if (held_) UnregisterHotKey(nullptr, id_);
    }
    bool Held() const { return held_ != FALSE; }

private:
    int id_;
    BOOL held_;
};


class HotkeyDialogTest : public ::testing::Test {
protected:
    ScopedCleanKey key_;
    HeldHotkey ctrlSpace_{1, MOD_CONTROL, VK_SPACE};
    HcProcess hc_;
    WindowHelper helper_;
    HWND dialog_ = nullptr;

    // With Ctrl+Space taken, start-up warns and then opens the hotkey dialog.
    void StartAndReachTheDialog() {
        ASSERT_TRUE(ctrlSpace_.Held());
        key_.SetString(L"StartUp", L"Tray", L"1");
        ASSERT_TRUE(hc_.Start());
        EXPECT_EQ(AnswerBox(L"Warning", 15000),
                  L"Could not register the default key combination. Try setting the keys manually");
        dialog_ = WaitForDialog(kDialogCaption);
        ASSERT_NE(dialog_, nullptr);
    }
    // A refused test: the registration failure, then the refusal in the row's own words.
    void ExpectRefused(const std::wstring& keys, const std::wstring& ending) {
        EXPECT_EQ(AnswerBox(L"Error"), L"Failed to register selected hotkeys " + keys + L"Select different combination");
        EXPECT_EQ(AnswerBox(L"Warning"), L"Newly assigned Hotkey \"" + keys +
                                             L"\" is not available. Try a different combination. " + ending);
    }
    void SetKeys(int controlId, BYTE flags, BYTE key) {
        SendMessageW(GetDlgItem(dialog_, controlId), HKM_SETHOTKEY, MAKEWORD(key, flags), 0);
    }
};

TEST_F(HotkeyDialogTest, ATestedFreeKeyWorksAtOnceAndATakenOneBringsTheDefaultsBack) {
    HeldHotkey taken(2, MOD_CONTROL | MOD_ALT, 'K');
    ASSERT_TRUE(taken.Held());
    const auto windows = helper_.OpenMany(L"Diary", 3);
    StartAndReachTheDialog();

    SetKeys(hc::THotKey_f::kIdHkHide, HOTKEYF_CONTROL | HOTKEYF_ALT, 'J');
    ClickButton(dialog_, hc::THotKey_f::kIdLabel4);
    EXPECT_EQ(AnswerBox(L"Information"), L"Successfully assigned \"Ctrl+Alt+J\"");
    PressKeys({VK_CONTROL, VK_MENU}, 'J');
    EXPECT_TRUE(WaitUntil([&] { return AllHidden(windows); }));

    SetKeys(hc::THotKey_f::kIdHkUnHide, HOTKEYF_CONTROL | HOTKEYF_ALT, 'K');
    ClickButton(dialog_, hc::THotKey_f::kIdLabel5);
    ExpectRefused(L"Ctrl+Alt+K", L"Hushcloak Privacy is using \"Default\" option instead.");
    // The defaults are in force again: Ctrl+Backspace restores and the user's own hide key is gone.
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return AllShown(windows); }));
    PressKeys({VK_CONTROL, VK_MENU}, 'J');
    EXPECT_FALSE(WaitUntil([&] { return !AllShown(windows); }, 500));  // nothing changes
}

TEST_F(HotkeyDialogTest, ATakenHideKeyIsRefusedWithItsOwnWords) {
    HeldHotkey taken(2, MOD_CONTROL | MOD_ALT, 'K');
    StartAndReachTheDialog();
    SetKeys(hc::THotKey_f::kIdHkHide, HOTKEYF_CONTROL | HOTKEYF_ALT, 'K');
    ClickButton(dialog_, hc::THotKey_f::kIdLabel4);
    ExpectRefused(L"Ctrl+Alt+K", L"If you are having problems use the \"Default\" option instead.");
}

TEST_F(HotkeyDialogTest, ApplyInsistsOnTestedAndDifferentKeys) {
    StartAndReachTheDialog();
    ClickButton(dialog_, IDOK);
    EXPECT_EQ(AnswerBox(L"Warning"), L"Please test the assigned Hotkeys before continuing");
    EXPECT_TRUE(IsWindowVisible(dialog_));

    SetKeys(hc::THotKey_f::kIdHkHide, HOTKEYF_CONTROL | HOTKEYF_SHIFT, 'Q');
    SetKeys(hc::THotKey_f::kIdHkUnHide, HOTKEYF_CONTROL | HOTKEYF_SHIFT, 'Q');
    ClickButton(dialog_, IDOK);
    EXPECT_EQ(AnswerBox(L"Hushcloak Privacy"), L"Cannot assign same hotkeys for both events.");
    EXPECT_TRUE(IsWindowVisible(dialog_));

    ClickButton(dialog_, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog_); }));
    EXPECT_TRUE(hc_.IsRunning());
}

}  // namespace
}  // namespace hctest
