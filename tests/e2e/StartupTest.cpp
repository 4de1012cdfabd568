#include <gtest/gtest.h>

#include <algorithm>

#include "HcProcess.h"
#include "JournalSupport.h"
#include "TestSupport.h"
#include "TrayDriver.h"

namespace hctest {
namespace {

class StartupTest : public ::testing::Test {
protected:
    ScopedCleanKey key_;
    HcProcess hc_;
};

// Presses Ctrl+Space again and again from the process start until the window is hidden. True when that happened
// while start-up was still going on: pressed before the program counted as started (its controller there and the
// splash gone), which also covers a press sent while the program got from its first line to its keys. The panic
// itself closes the splash, so a hide that shows after the next press still counts for the press before it.
bool PanicDuringStartUp(const HcProcess& hc, HWND window) {
    bool duringStartUp = false;
    bool previousDuringStartUp = false;
    WaitUntil(
        [&] {
            const bool starting = !hc.IsStarted();
            PressKeys({VK_CONTROL}, VK_SPACE);
            const bool hidden = WaitUntil([&] { return !IsWindowVisible(window); }, 50, 1);
            if (hidden) duringStartUp = starting || previousDuringStartUp;
            previousDuringStartUp = starting;
            return hidden;
        },
        10000, 1);
    return duringStartUp && !IsWindowVisible(window);
}

bool HasNoTaskbarButton(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    if (style & WS_EX_APPWINDOW) return false;
    return (style & WS_EX_TOOLWINDOW) || GetWindow(window, GW_OWNER) != nullptr;
}

TEST_F(StartupTest, ASecondStartEndsAtOnceWithoutAnyWindowAndTheFirstRunsOn) {
    ASSERT_TRUE(hc_.Start());
    ASSERT_TRUE(hc_.WaitUntilStarted());
    HWND controller = hc_.Controller();

    DWORD secondId = 0;
    HANDLE second = StartProcess(HcExePath(), L"", &secondId, BinFolder());
    ASSERT_NE(second, nullptr);
    bool sawWindow = false;
    const bool ended = WaitUntil(
        [&] {
            sawWindow = sawWindow || !WindowsOf(secondId).empty();
            return WaitForSingleObject(second, 0) == WAIT_OBJECT_0;
        },
        15000, 1);
    CloseHandle(second);
    // A bound that proves it is not waiting on anything; a Wine process alone may take seconds to load when busy.
    EXPECT_TRUE(ended) << "the second instance still runs after 15 seconds";
    EXPECT_FALSE(sawWindow);
    EXPECT_TRUE(hc_.IsRunning());
    EXPECT_EQ(hc_.Controller(), controller);
}

TEST_F(StartupTest, ANewStartSucceedsAfterTheFirstInstanceEnded) {
    ASSERT_TRUE(hc_.Start());
    ASSERT_TRUE(hc_.WaitUntilStarted());
    hc_.Stop();
    ASSERT_TRUE(hc_.Start());
    EXPECT_TRUE(hc_.WaitUntilStarted());
}

TEST_F(StartupTest, SplashIsShownDuringStartUpAndGoneAfterwards) {
    ASSERT_TRUE(hc_.Start());
    bool splashSeen = false;
    bool everOnTaskbar = false;
    WaitUntil(
        [&] {
            for (HWND window : VisibleWindowsOf(hc_.ProcessId())) {
                // A window that closed while it was looked at (as the splash does) reads as a style of 0.
                everOnTaskbar = everOnTaskbar || (!HasNoTaskbarButton(window) && IsWindow(window));
                wchar_t caption[64] = {};
                GetWindowTextW(window, caption, 64);
                splashSeen = splashSeen || std::wstring(caption) == L"HushCloak";
            }
            return hc_.IsStarted();
        },
        15000, 2);
    EXPECT_TRUE(splashSeen);
    EXPECT_TRUE(hc_.IsStarted());
    EXPECT_EQ(hc_.Splash(), nullptr);
    EXPECT_FALSE(everOnTaskbar);
    for (HWND window : VisibleWindowsOf(hc_.ProcessId())) EXPECT_TRUE(HasNoTaskbarButton(window) || !IsWindow(window));
}

TEST_F(StartupTest, SilentStartShowsNoSplash) {
    key_.SetString(L"StartUp", L"Tray", L"1");
    ASSERT_TRUE(hc_.Start());
    bool splashSeen = false;
    WaitUntil(
        [&] {
            HWND splash = hc_.Splash();
            splashSeen = splashSeen || (splash && IsWindowVisible(splash));
            return hc_.IsStarted();
        },
        15000, 2);
    EXPECT_TRUE(hc_.IsStarted());
    EXPECT_FALSE(splashSeen);
}

TEST_F(StartupTest, CreatesTheDataFoldersOnceAndNothingOnTheNextStart) {
    wchar_t programData[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"ProgramData", programData, MAX_PATH), 0u);
    const std::wstring hc = std::wstring(programData) + L"\\HC";
    RemoveDirectoryW((hc + L"\\bin\\temp").c_str());
    RemoveDirectoryW((hc + L"\\bin").c_str());
    RemoveDirectoryW(hc.c_str());

    ASSERT_TRUE(hc_.Start());
    ASSERT_TRUE(hc_.WaitUntilStarted());
    WIN32_FILE_ATTRIBUTE_DATA before{};
    ASSERT_TRUE(GetFileAttributesExW((hc + L"\\bin\\temp").c_str(), GetFileExInfoStandard, &before));
    EXPECT_TRUE(before.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    hc_.Stop();

    ASSERT_TRUE(hc_.Start());
    ASSERT_TRUE(hc_.WaitUntilStarted());
    WIN32_FILE_ATTRIBUTE_DATA after{};
    ASSERT_TRUE(GetFileAttributesExW((hc + L"\\bin\\temp").c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ(CompareFileTime(&before.ftCreationTime, &after.ftCreationTime), 0);
}

TEST_F(StartupTest, AMutexItMayNotOpenStillMeansAnotherInstanceRuns) {
    // An elevated first instance: its mutex exists under rights this start lacks.
    ACL emptyAcl{};
    ASSERT_TRUE(InitializeAcl(&emptyAcl, sizeof(emptyAcl), ACL_REVISION));
    SECURITY_DESCRIPTOR descriptor{};
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyAcl, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), &descriptor, FALSE};
    HANDLE mutex = CreateMutexW(&attributes, FALSE, L"HushCloak");
    ASSERT_NE(mutex, nullptr);
    ASSERT_TRUE(hc_.Start());
    EXPECT_EQ(WaitForSingleObject(hc_.Process(), 5000), WAIT_OBJECT_0) << "a second instance runs";
    CloseHandle(mutex);
}

TEST_F(StartupTest, ABoxAtStartUpNeverOpensBehindTheSplash) {
    // Ctrl+Space taken by someone else: the warning comes during start-up, while the splash would still show.
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x77, MOD_CONTROL, VK_SPACE));
    ASSERT_TRUE(hc_.Start());
    HWND box = WaitForDialog(L"Warning", 15000);
    ASSERT_NE(box, nullptr);
    HWND splash = hc_.Splash();
    EXPECT_TRUE(splash == nullptr || !IsWindowVisible(splash));
    EXPECT_EQ(MessageBoxText(box), L"Could not register the default key combination. Try setting the keys manually");
    ClickButton(box, IDOK);
    HWND dialog = WaitForDialog(L"Hushcloak Privacy 6.0");
    EXPECT_NE(dialog, nullptr);
    if (dialog) ClickButton(dialog, IDCANCEL);
    UnregisterHotKey(nullptr, 0x77);
}

TEST_F(StartupTest, StoredKeyTextsThatNameNoKeyStartSilentlyAndKeepTheDefaultsOfTheirRole) {
    key_.SetString(L"StartUp", L"Defaults", L"0");
    key_.SetString(L"StartUp", L"HkHide", L"Ctrl+H");
    key_.SetString(L"StartUp", L"hkUnHide", L"CTRL+BACKSPACE");  // the stored default text does not read
    key_.SetString(L"StartUp", L"Tray", L"1");
    WindowHelper helper;
    HWND window = helper.Open(L"Bank statement");
    ASSERT_TRUE(hc_.Start());
    ASSERT_TRUE(hc_.WaitUntilStarted());
    PressKeys({VK_CONTROL}, 'H');
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(FindWindowW(L"#32770", L"Error"), nullptr);
}

TEST_F(StartupTest, CtrlSpaceHidesTheWindowsAsSoonAsTheKeysAreThereWhileTheRestOfStartUpGoesOn) {
    WindowHelper helper;
    const auto windows = helper.OpenMany(L"Letter to the bank", 3);
    ASSERT_TRUE(hc_.Start());
    ASSERT_TRUE(PanicDuringStartUp(hc_, windows.front()));
    EXPECT_TRUE(WaitUntil([&] { return std::none_of(windows.begin(), windows.end(), IsWindowVisible); }));
    // The rest of start-up (splash, main window) neither undoes the panic nor shows the main window over it.
    ASSERT_TRUE(hc_.WaitUntilStarted());
    EXPECT_TRUE(std::none_of(windows.begin(), windows.end(), IsWindowVisible));
    EXPECT_TRUE(VisibleWindowsOf(hc_.ProcessId()).size() <= 1u) << "only the Panic Button may show";
    // The panic took the icon away, however far its start had got: it stays away until the restore.
    EXPECT_FALSE(WaitForTrayIconCount(1, 500));
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return std::all_of(windows.begin(), windows.end(), IsWindowVisible); }));
    EXPECT_TRUE(WaitForTrayIconCount(1));
}

TEST_F(StartupTest, APanicDuringStartUpKeepsTheWindowsOfAKilledRunAndTheUnhideKeyBringsBackBoth) {
    WindowHelper helper;
    const auto earlier = helper.OpenMany(L"Hidden by the killed run", 2);
    for (HWND window : earlier) ShowWindow(window, SW_HIDE);
    ASSERT_TRUE(StoreJournalOfKilledRun(earlier));
    HWND now = helper.Open(L"Open at the next start");
    ASSERT_TRUE(hc_.Start());
    ASSERT_TRUE(PanicDuringStartUp(hc_, now));
    ASSERT_TRUE(hc_.WaitUntilStarted());
    // The panic wins over the start-up's recovery, and its record keeps the earlier run's windows.
    EXPECT_FALSE(IsWindowVisible(now));
    EXPECT_TRUE(std::none_of(earlier.begin(), earlier.end(), IsWindowVisible));
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil(
        [&] { return IsWindowVisible(now) && std::all_of(earlier.begin(), earlier.end(), IsWindowVisible); }));
}

}  // namespace
}  // namespace hctest
