#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "HotkeyDoubles.h"
#include "TestSupport.h"
#include "hotkeys/DefaultHotkeys.h"
#include "hotkeys/HotkeyDialog.h"

namespace hc {
namespace {

// A hidden window of this thread, to own or compete for hotkeys.
struct OwnerWindow {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ~OwnerWindow() { DestroyWindow(window); }
};

DWORD TryRegister(HWND window, UINT modifiers, UINT key) {
    if (!RegisterHotKey(window, 1, modifiers, key)) return GetLastError();
    UnregisterHotKey(window, 1);
    return ERROR_SUCCESS;
}

TEST(HotkeysOnWindows, TheDefaultPairSurvivesRepeatedRegistrationAndLeavesNoAtomBehind) {
    Win32HotkeyService service;
    OwnerWindow owner, other;
    DefaultHotkeys pair(service, owner.window);
    ASSERT_TRUE(pair.RegisterHotKeys());
    ASSERT_TRUE(pair.RegisterHotKeys());
    pair.ReleaseHotKeys();
    ASSERT_TRUE(pair.RegisterHotKeys());
    EXPECT_EQ(TryRegister(other.window, MOD_CONTROL, VK_SPACE), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_EQ(TryRegister(other.window, MOD_CONTROL, VK_BACK), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    pair.ReleaseHotKeys();
    pair.ReleaseHotKeys();
    EXPECT_EQ(TryRegister(other.window, MOD_CONTROL, VK_SPACE), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GlobalFindAtomW(kHideAtomName), 0);
    EXPECT_EQ(GlobalFindAtomW(kUnhideAtomName), 0);
}

TEST(HotkeysOnWindows, AnAppHotkeyIsRefusedWhileAnotherWindowHoldsItsKeys) {
    Win32HotkeyService service;
    OwnerWindow owner, holder;
    ASSERT_TRUE(RegisterHotKey(holder.window, 7, MOD_CONTROL | MOD_ALT, VK_F11));
    int refusals = 0;
    AppHotkey hotkey(service, owner.window, 0xC07A);  // Ctrl+Alt+F11
    hotkey.SetFailedHandler([&](KeyCombination) { ++refusals; });
    hotkey.Activate();
    EXPECT_FALSE(hotkey.Active());
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(service.LastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    UnregisterHotKey(holder.window, 7);
}

class HotkeyDialogTest : public ::testing::Test {
protected:
    Win32HotkeyService service_;
    hctest::RecordingMessages messages_;
    Settings settings_;
    std::vector<Sender> pressed_;
    std::unique_ptr<THotKey_f> dialog_;

    void Create() {
        dialog_ =
            std::make_unique<THotKey_f>(settings_, messages_, service_, [this](Sender s) { pressed_.push_back(s); });
        ASSERT_NE(dialog_->Handle(), nullptr);
    }
    HWND Control(int id) const { return GetDlgItem(dialog_->Handle(), id); }
    void Click(int id) {
        PostMessageW(dialog_->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
    }
};

TEST_F(HotkeyDialogTest, StoredKeysAreRegisteredAtCreationAndAnInjectedPressReachesTheDispatcher) {
    settings_.UseDefaultKeys = false;
    settings_.edHide = L"alt+ctrl+f9";
    settings_.edUnHide = L"Ctrl+Alt+F10";
    Create();
    EXPECT_EQ(settings_.edHide, L"Ctrl+Alt+F9");
    EXPECT_EQ(SendMessageW(Control(THotKey_f::kIdHkHide), HKM_GETHOTKEY, 0, 0),
              MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT));
    const WORD sequence[6] = {VK_CONTROL, VK_MENU, VK_F10, VK_F10, VK_MENU, VK_CONTROL};
    INPUT keys[6] = {};
    for (int i = 0; i < 6; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i];
        keys[i].ki.dwFlags = i < 3 ? 0 : KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(6, keys, sizeof(INPUT)), 6u);
    EXPECT_TRUE(hctest::WaitUntil([&] { return !pressed_.empty(); }, 3000));
    EXPECT_EQ(pressed_, std::vector<Sender>{Sender::AppHkUnHide});
}

TEST_F(HotkeyDialogTest, ShowsModallyUntilApplyAcceptsAndThenOnlyHides) {
    Create();
    OwnerWindow owner;
    bool shownWithOwnerDisabled = false;
    messages_.onBox = [&] {
        shownWithOwnerDisabled = FindWindowW(L"#32770", L"Hushcloak Privacy 6.0") == dialog_->Handle() &&
                                 IsWindowVisible(dialog_->Handle()) && !IsWindowEnabled(owner.window);
    };
    SendMessageW(Control(THotKey_f::kIdHkUnHide), HKM_SETHOTKEY, MAKEWORD(VK_F10, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    Click(THotKey_f::kIdLabel4);  // Ctrl+H
    Click(THotKey_f::kIdLabel5);
    PostMessageW(Control(THotKey_f::kIdHkHide), WM_KEYDOWN, 'J', 0);  // typed: the rules add Ctrl
    Click(THotKey_f::kIdApply);                                       // untested since the edit
    Click(THotKey_f::kIdLabel4);
    Click(THotKey_f::kIdApply);
    EXPECT_EQ(dialog_->ShowModal(owner.window), IDOK);

    EXPECT_TRUE(shownWithOwnerDisabled);
    ASSERT_EQ(messages_.shown.size(), 4u);
    EXPECT_EQ(messages_.shown[2].caption, L"Warning");
    EXPECT_EQ(settings_.edHide, L"Ctrl+J");
    EXPECT_TRUE(dialog_->jvAppHkUnHide().Active());
    EXPECT_FALSE(IsWindowVisible(dialog_->Handle()));
    EXPECT_TRUE(IsWindowEnabled(owner.window));
    EXPECT_EQ(GetWindow(dialog_->Handle(), GW_OWNER), nullptr);  // must not die with a passing owner
    EXPECT_TRUE(GetWindowLongPtrW(dialog_->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);  // no taskbar button

    Click(THotKey_f::kIdDefault);
    EXPECT_EQ(dialog_->ShowModal(nullptr), IDCANCEL);
    EXPECT_TRUE(settings_.UseDefaultKeys);
    PostMessageW(dialog_->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog_->ShowModal(nullptr), IDCANCEL);
}

TEST_F(HotkeyDialogTest, AQuitRequestEndsTheModalLoopAndStaysQueuedForTheMainLoop) {
    Create();
    PostQuitMessage(3);
    EXPECT_EQ(dialog_->ShowModal(nullptr), 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
}  // namespace hc
