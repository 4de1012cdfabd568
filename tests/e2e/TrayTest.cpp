#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "HcProcess.h"
#include "TestSupport.h"
#include "TrayDriver.h"
#include "tray/TrayIcon.h"

namespace hctest {
namespace {

constexpr wchar_t kExitQuestion[] = L"There are windows that are hidden would you like to show them before you exit";
constexpr wchar_t kStealthQuestion[] =
    L"In Stealth mode traces of the application are hidden. Press Shift+Alt+BkSp to exit stealt mode. Do you want "
    L"to continue?";

std::wstring ShotPath(const wchar_t* name) {
    const std::wstring folder = BinFolder() + L"..\\shots";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

bool HotkeyTaken(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 77, modifiers, key)) return true;
    UnregisterHotKey(nullptr, 77);
    return false;
}

void BroadcastTaskbarCreated() { PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0); }

class TrayTest : public ::testing::Test {
protected:
    ScopedCleanKey key_;
    HcProcess hc_;

    void SetUp() override {
        key_.SetString(L"StartUp", L"Tray", L"1");
        // The Panic Button starts at the top-left corner, on top of Wine's tray window: keep it out of the way.
        key_.SetString(L"StartUp", L"PanicLeft", L"700");
        key_.SetString(L"StartUp", L"PanicTop", L"600");
    }

    void StartHc() {
        ASSERT_TRUE(hc_.Start());
        ASSERT_TRUE(hc_.WaitUntilStarted());
        ASSERT_TRUE(WaitForTrayIconCount(1)) << "no icon in the notification area";
    }
    // With privacy action 1 only the window in front goes.
    void StartHcAndHideWithCtrlSpace(WindowHelper& helper, HWND window) {
        ASSERT_NO_FATAL_FAILURE(StartHc());
        helper.BringToFront(window);
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
    StartHc();
    HWND menu = OpenTrayMenu();
    ASSERT_NE(menu, nullptr);
    WaitUntilPainted(menu);
    SaveScreenshot(ShotPath(L"tray-menu.bmp"));
    PressSequence({VK_DOWN, VK_RETURN});  // the first item
    HWND about = WaitForAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(TextOf(about), L"About");
    EXPECT_EQ(TextOf(GetDlgItem(about, 101)), L"Hushcloak Privacy 6.0");
    EXPECT_EQ(TextOf(GetDlgItem(about, 102)), L"Made by the Hushcloak Privacy team");
    EXPECT_EQ(TextOf(GetDlgItem(about, IDCANCEL)), L"Close");
    WaitUntilPainted(about);
    SaveScreenshot(ShotPath(L"about.bmp"));

    // A second "&About" while the first is open brings that one to the front.
    WindowHelper helper;
    HWND other = helper.Open(L"Letter");
    helper.BringToFront(other);
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
    WindowHelper helper;
    HWND secret = helper.Open(L"Secret plan");
    ASSERT_NO_FATAL_FAILURE(StartHcAndHideWithCtrlSpace(helper, secret));

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
    HKEY section = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"HushCloak\\StartUp", 0, KEY_READ, &section), ERROR_SUCCESS);
    wchar_t value[8] = {};
    DWORD bytes = sizeof(value);
    EXPECT_EQ(RegGetValueW(section, nullptr, L"AutoStart", RRF_RT_REG_SZ, nullptr, value, &bytes), ERROR_SUCCESS);
    EXPECT_STREQ(value, L"0");
    bytes = sizeof(value);
    EXPECT_EQ(RegGetValueW(section, nullptr, L"DisSplScreen", RRF_RT_REG_SZ, nullptr, value, &bytes), ERROR_SUCCESS);
    EXPECT_STREQ(value, L"1");
    RegCloseKey(section);
}

TEST_F(TrayTest, ExitWithoutHiddenWindowsEndsAtOnce) {
    StartHc();
    ChooseExit();
    EXPECT_TRUE(WaitUntil([&] { return !hc_.IsRunning(); }));
    EXPECT_EQ(FindWindowW(L"#32770", L"HushCloak"), nullptr);
}

TEST_F(TrayTest, StealthModeAsksRemovesEveryTraceAndShiftAltBackspaceBringsTheIconBack) {
    StartHc();
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
        std::erase_if(shown, [](HWND w) {
            wchar_t name[32] = {};
            GetClassNameW(w, name, 32);
            return std::wstring(name) == L"TPanic_f";
        });
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
    StartHc();
    ASSERT_TRUE(AnswerWith(ChooseStealthMode(), IDYES));
    EXPECT_EQ(AnswerBox(L"Warning"),
              L"The hotkey Shift+Alt+BkSp that ends stealth mode is in use by another program. Hushcloak Privacy "
              L"stays in normal operation.");
    EXPECT_FALSE(WaitForTrayIconCount(0, 500));
    UnregisterHotKey(nullptr, 91);
}

TEST_F(TrayTest, TheIconComesBackWhenTheShellStartsAgain) {
    StartHc();
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
    WindowHelper helper;
    HWND secret = helper.Open(L"Secret plan");
    ASSERT_NO_FATAL_FAILURE(StartHcAndHideWithCtrlSpace(helper, secret));
    EXPECT_TRUE(WaitForTrayIconCount(0));
    BroadcastTaskbarCreated();
    EXPECT_FALSE(WaitForTrayIconCount(1, 500));

    PressKeys({VK_CONTROL}, VK_BACK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(secret) != FALSE; }));
    EXPECT_TRUE(WaitForTrayIconCount(1));
}

// Wine's shell has only a stub of the icon picker: the user is told instead of seeing nothing happen.
TEST_F(TrayTest, ChangeIconSaysSoWhenThePickerCannotOpenAndStoresNothing) {
    StartHc();
    ASSERT_NE(OpenTrayMenu(), nullptr);
    PressKeys({}, 'C');  // shared with "&Close Hushcloak Privacy": the first item runs
    EXPECT_EQ(AnswerBox(L"Error"), L"The icon picker of Windows could not be opened; the icon stays as it is.");
    HKEY section = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"HushCloak\\StartUp", 0, KEY_READ, &section) == ERROR_SUCCESS) {
        EXPECT_NE(RegQueryValueExW(section, L"IconFile", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        RegCloseKey(section);
    }
    EXPECT_TRUE(hc_.IsRunning());
}

}  // namespace
}  // namespace hctest
