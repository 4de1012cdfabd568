#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "HcFixture.h"
#include "TrayDriver.h"
#include "tray/TrayIcon.h"

namespace hctest {
namespace {

constexpr wchar_t kExitQuestion[] = L"There are windows that are hidden would you like to show them before you exit";
constexpr wchar_t kStealthQuestion[] =
    L"In Stealth mode traces of the application are hidden. Press Shift+Alt+BkSp to exit stealt mode. Do you want "
    L"to continue?";

bool HotkeyTaken(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 77, modifiers, key)) return true;
    UnregisterHotKey(nullptr, 77);
    return false;
}

void BroadcastTaskbarCreated() { PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0); }

class TrayTest : public HcFixture {
protected:
    // With privacy action 1 only the window in front goes.
    void StartHcAndHideWithCtrlSpace(HWND window) {
        ASSERT_NO_FATAL_FAILURE(StartInTray());
        helper_.BringToFront(window);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
        PressKeys({VK_CONTROL}, VK_SPACE);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    }
    std::vector<HWND> AboutWindows() {
        std::vector<HWND> shown;
        for (HWND w : WindowsOf(hc_.ProcessId(), L"TAbout_f"))
            if (IsWindowVisible(w)) shown.push_back(w);
        return shown;
    }
    HWND WaitForAbout() {
        HWND about = nullptr;
        WaitUntil([&] {
            auto shown = AboutWindows();
            about = shown.size() == 1 ? shown.front() : nullptr;
            return about != nullptr;
        });
        return about;
    }
    // "Mode of operation" is the sixth item; its second item is "Switch to stealth mode".
    HWND ChooseStealthMode() {
        if (!OpenTrayMenu()) return nullptr;
        PressSequence({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
        return WaitForDialog(L"Confirm");
    }
    // "&Close Hushcloak Privacy" is the last item.
    void ChooseExit() {
        ASSERT_NE(OpenTrayMenu(), nullptr);
        PressSequence({VK_UP, VK_RETURN});
    }
};

TEST_F(TrayTest, RightClickOpensTheMenuAndAboutOpensOnceWithTheProductAndItsMaker) {
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    HWND menu = OpenTrayMenu();
    ASSERT_NE(menu, nullptr);
    WaitUntilPainted(menu);
    SaveScreenshot(ShotPath(L"tray-menu.bmp"));
    PressSequence({VK_DOWN, VK_RETURN});  // the first item
    HWND about = WaitForAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(about), L"About");
    EXPECT_EQ(WindowText(GetDlgItem(about, 101)), L"Hushcloak Privacy 6.0");
    EXPECT_EQ(WindowText(GetDlgItem(about, 102)), L"Made by the Hushcloak Privacy team");
    EXPECT_EQ(WindowText(GetDlgItem(about, IDCANCEL)), L"Close");
    WaitUntilPainted(about);
    SaveScreenshot(ShotPath(L"about.bmp"));

    // A second "&About" while the first is open brings that one to the front.
    HWND other = helper_.Open(L"Letter");
    helper_.BringToFront(other);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }));
    ASSERT_NE(OpenTrayMenu(), nullptr);
    PressKeys({}, 'A');
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; }));
    EXPECT_EQ(AboutWindows(), std::vector<HWND>{about});

    ClickButton(about, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(hc_.IsRunning());
}

TEST_F(TrayTest, ExitWithHiddenWindowsAsksFirstCancelKeepsThemHiddenAndOkShowsThemAndEnds) {
    key_.SetString(L"StartUp", L"Action", L"1");  // hide the active window only: the tray window stays
    key_.SetString(L"StartUp", L"HideIcon", L"0");
    HWND secret = helper_.Open(L"Secret plan");
    ASSERT_NO_FATAL_FAILURE(StartHcAndHideWithCtrlSpace(secret));

    ChooseExit();
    HWND box = WaitForDialog(L"HushCloak");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kExitQuestion);
    ASSERT_TRUE(AnswerWith(box, IDCANCEL));
    EXPECT_FALSE(WaitUntil([&] { return !hc_.IsRunning(); }, 500));
    EXPECT_FALSE(IsWindowVisible(secret));

    ChooseExit();
    box = WaitForDialog(L"HushCloak");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(AnswerWith(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !hc_.IsRunning(); }));
    EXPECT_TRUE(IsWindowVisible(secret));
    // The controller stores its own entries at its end.
    EXPECT_EQ(StoredString(L"StartUp", L"AutoStart"), L"0");
    EXPECT_EQ(StoredString(L"StartUp", L"DisSplScreen"), L"1");
}

TEST_F(TrayTest, ExitWithoutHiddenWindowsEndsAtOnce) {
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    ChooseExit();
    EXPECT_TRUE(WaitUntil([&] { return !hc_.IsRunning(); }));
    EXPECT_EQ(FindWindowW(L"#32770", L"HushCloak"), nullptr);
}

TEST_F(TrayTest, StealthModeAsksRemovesEveryTraceAndShiftAltBackspaceBringsTheIconBack) {
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    for (int answer : {IDNO, IDCANCEL}) {
        HWND box = ChooseStealthMode();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), kStealthQuestion);
        ASSERT_TRUE(AnswerWith(box, answer));
        EXPECT_FALSE(WaitForTrayIconCount(0, 500)) << "answer " << answer << " changed something";
        EXPECT_FALSE(HotkeyTaken(MOD_SHIFT | MOD_ALT, VK_BACK));
    }

    // With the About window open: stealth mode closes it too.
    ASSERT_NE(OpenTrayMenu(), nullptr);
    PressSequence({VK_DOWN, VK_RETURN});
    ASSERT_NE(WaitForAbout(), nullptr);
    ASSERT_TRUE(AnswerWith(ChooseStealthMode(), IDYES));
    EXPECT_TRUE(WaitForTrayIconCount(0));
    // Every trace but the Panic Button, which the user may keep as the way to panic.
    const auto shownButPanicButton = [&] {
        auto shown = VisibleWindowsOf(hc_.ProcessId());
        std::erase_if(shown, [](HWND w) { return ClassOf(w) == L"TPanic_f"; });
        return shown;
    };
    EXPECT_TRUE(WaitUntil([&] { return shownButPanicButton().empty(); }));
    // The shell starting again does not bring it back either.
    BroadcastTaskbarCreated();
    EXPECT_FALSE(WaitForTrayIconCount(1, 500));

    PressKeys({VK_SHIFT, VK_MENU}, VK_BACK);
    EXPECT_TRUE(WaitForTrayIconCount(1));
}

TEST_F(TrayTest, StealthModeStaysOffWhenShiftAltBackspaceIsTakenAndSaysWhy) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 91, MOD_SHIFT | MOD_ALT, VK_BACK));
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    ASSERT_TRUE(AnswerWith(ChooseStealthMode(), IDYES));
    EXPECT_EQ(AnswerBox(L"Warning"),
              L"The hotkey Shift+Alt+BkSp that ends stealth mode is in use by another program. Hushcloak Privacy "
              L"stays in normal operation.");
    EXPECT_FALSE(WaitForTrayIconCount(0, 500));
    UnregisterHotKey(nullptr, 91);
}

TEST_F(TrayTest, TheIconComesBackWhenTheShellStartsAgain) {
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    // What an Explorer restart does: the shell forgets the icon.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hc_.Controller();
    data.uID = hc::TrayIcon::kIconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    ASSERT_TRUE(WaitForTrayIconCount(0));
    BroadcastTaskbarCreated();
    EXPECT_TRUE(WaitForTrayIconCount(1));
}

TEST_F(TrayTest, APrivacyActionThatHidesTheIconKeepsItAwayUntilTheWindowsComeBack) {
    key_.SetString(L"StartUp", L"Action", L"1");  // "Always hide the application System Tray icon" stays ticked
    HWND secret = helper_.Open(L"Secret plan");
    ASSERT_NO_FATAL_FAILURE(StartHcAndHideWithCtrlSpace(secret));
    EXPECT_TRUE(WaitForTrayIconCount(0));
    BroadcastTaskbarCreated();
    EXPECT_FALSE(WaitForTrayIconCount(1, 500));

    PressKeys({VK_CONTROL}, VK_BACK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(secret) != FALSE; }));
    EXPECT_TRUE(WaitForTrayIconCount(1));
}

// Wine's shell has only a stub of the icon picker: the user is told instead of seeing nothing happen.
TEST_F(TrayTest, ChangeIconSaysSoWhenThePickerCannotOpenAndStoresNothing) {
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    ASSERT_NE(OpenTrayMenu(), nullptr);
    PressKeys({}, 'C');  // shared with "&Close Hushcloak Privacy": the first item runs
    EXPECT_EQ(AnswerBox(L"Error"), L"The icon picker of Windows could not be opened; the icon stays as it is.");
    EXPECT_EQ(StoredString(L"StartUp", L"IconFile"), std::nullopt);
    EXPECT_TRUE(hc_.IsRunning());
}

}  // namespace
}  // namespace hctest
