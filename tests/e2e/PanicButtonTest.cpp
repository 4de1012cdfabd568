#include <gtest/gtest.h>

#include <algorithm>

#include "HcProcess.h"
#include "PanicDriver.h"
#include "TestSupport.h"

namespace hctest {
namespace {

constexpr wchar_t kGreeting[] = L"Hi, I'm the \"Panic Button\". You can move me, change me, rename me.";

LONG ExStyle(HWND w) { return GetWindowLongW(w, GWL_EXSTYLE); }
bool HasFrame(HWND w) { return (GetWindowLongW(w, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }
// The button keeps its size whatever the frame.
bool HasButtonSize(HWND w) {
    const RECT client = ClientRectOnScreen(w);
    return client.right - client.left == 369 && client.bottom - client.top == 80;
}
std::wstring EditText(HWND edit) {
    wchar_t text[512] = {};
    SendMessageW(edit, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

class PanicButtonTest : public ::testing::Test {
protected:
    ScopedCleanKey key_;
    HcProcess hc_;
    WindowHelper helper_;
    HWND panic_ = nullptr;

    void SetUp() override { key_.SetString(L"StartUp", L"Tray", L"1"); }

    void StartHc() {
        ASSERT_TRUE(hc_.Start());
        ASSERT_TRUE(hc_.WaitUntilStarted());
        panic_ = WaitForPanicButton(hc_.ProcessId());
        ASSERT_NE(panic_, nullptr);
    }
    // Puts a helper window in front, as the user's click on it would.
    void Activate(HWND window) {
        ASSERT_TRUE(helper_.BringToFront(window));
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
    }
};

TEST_F(PanicButtonTest, FirstStartShowsTheGreetingAtTheDesktopTopLeftAndALostPositionComesBackOnScreen) {
    StartHc();
    RECT frame{};
    GetWindowRect(panic_, &frame);
    EXPECT_EQ(frame.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(frame.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    RECT client{};
    GetClientRect(panic_, &client);
    EXPECT_EQ(client.right, 369);
    EXPECT_EQ(client.bottom, 80);
    EXPECT_EQ(PanicCaption(panic_), kGreeting);
    EXPECT_FALSE(HasFrame(panic_));
    EXPECT_TRUE(ExStyle(panic_) & WS_EX_TOPMOST);
    EXPECT_TRUE(ExStyle(panic_) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ExStyle(panic_) & WS_EX_LAYERED);
    SaveShot(L"panic-button", panic_);

    // Stored on a monitor that is no longer attached: it starts where the user can reach it.
    hc_.Stop();
    key_.SetString(L"StartUp", L"PanicLeft", L"-30000");
    key_.SetString(L"StartUp", L"PanicTop", L"-30000");
    StartHc();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(panic_, &frame);
    EXPECT_EQ(frame.left, work.left);
    EXPECT_EQ(frame.top, work.top);
}

TEST_F(PanicButtonTest, AClickHidesEveryWindowAndTheButtonGoesOnlyWhenAlwaysHideIsTicked) {
    const auto diaries = helper_.OpenMany(L"Diary", 3);
    StartHc();  // "Always hide the Panic Button" is ticked by default
    ClickMiddleOf(panic_);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(diaries); }));
    EXPECT_FALSE(IsWindowVisible(panic_));

    hc_.Stop();
    key_.SetString(L"StartUp", L"HidePanic", L"0");
    const auto journals = helper_.OpenMany(L"Journal", 3);
    StartHc();
    ClickMiddleOf(panic_);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(journals); }));
    EXPECT_TRUE(IsWindowVisible(panic_));
}

TEST_F(PanicButtonTest, WithActionOneAClickHidesTheWindowThatWasInFrontBeforeIt) {
    key_.SetString(L"StartUp", L"Action", L"1");
    key_.SetString(L"StartUp", L"HidePanic", L"0");
    HWND letter = helper_.Open(L"Letter");
    HWND statement = helper_.Open(L"Bank statement");
    StartHc();
    Activate(statement);
    ClickMiddleOf(panic_);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(statement); }));
    EXPECT_TRUE(IsWindowVisible(letter));
    EXPECT_TRUE(IsWindowVisible(panic_));
}

TEST_F(PanicButtonTest, WithActionThreeAClickAsksTheWindowThatWasInFrontBeforeItToClose) {
    key_.SetString(L"StartUp", L"Action", L"3");
    key_.SetString(L"StartUp", L"HidePanic", L"0");
    helper_.Open(L"Letter");
    HWND statement = helper_.Open(L"Bank statement");
    StartHc();
    Activate(statement);
    ClickMiddleOf(panic_);
    EXPECT_TRUE(WaitUntil([&] { return helper_.CloseRequests() == 1; }));
}

TEST_F(PanicButtonTest, TheRenameBoxSetsTheCaptionOnOkAndKeepsItOnCancel) {
    StartHc();
    ASSERT_TRUE(ChoosePanicMenuItem(panic_, 1));
    HWND box = WaitForDialog(L"Change Panic button description");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(FindWindowExW(box, nullptr, L"Static", L"Enter the new description in space provided"), nullptr);
    HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(EditText(edit), kGreeting);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Shopping list"));
    SaveShot(L"panic-rename-box", GetDlgItem(box, IDCANCEL));
    ASSERT_TRUE(ClickButton(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return PanicCaption(panic_) == L"Shopping list"; }));

    // Cancel keeps the user's own text; the box offers it as the preset.
    ASSERT_TRUE(ChoosePanicMenuItem(panic_, 1));
    box = WaitForDialog(L"Change Panic button description");
    ASSERT_NE(box, nullptr);
    edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
    EXPECT_EQ(EditText(edit), L"Shopping list");
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Something else"));
    ASSERT_TRUE(ClickButton(box, IDCANCEL));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
    EXPECT_EQ(PanicCaption(panic_), L"Shopping list");
}

TEST_F(PanicButtonTest, MoveToNewLocationPutsATitleBarAboveTheSameButtonAndTakesItAwayAgain) {
    StartHc();
    const RECT before = ClientRectOnScreen(panic_);
    ASSERT_TRUE(OpenPanicMenu(panic_));
    SaveShot(L"panic-menu", FindWindowW(L"#32768", nullptr));
    PressKeys({}, VK_DOWN);
    PressKeys({}, VK_DOWN);
    PressKeys({}, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return HasFrame(panic_) && HasButtonSize(panic_); }));
    RECT frame{};
    GetWindowRect(panic_, &frame);
    const RECT framed = ClientRectOnScreen(panic_);
    // The window keeps its corner, so the bar to drag by stays on screen.
    EXPECT_EQ(frame.left, before.left);
    EXPECT_EQ(frame.top, before.top);
    EXPECT_GT(framed.top, frame.top);
    SaveShot(L"panic-button-moving", panic_);

    ASSERT_TRUE(ChoosePanicMenuItem(panic_, 2));
    EXPECT_TRUE(WaitUntil([&] { return !HasFrame(panic_) && HasButtonSize(panic_); }));
    RECT after{};
    GetWindowRect(panic_, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
}

TEST_F(PanicButtonTest, TheMenuRestoresTheHiddenWindowsAndEndsTheProgram) {
    key_.SetString(L"StartUp", L"HidePanic", L"0");
    const auto windows = helper_.OpenMany(L"Notes", 2);
    StartHc();
    ClickMiddleOf(panic_);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows); }));
    ASSERT_TRUE(ChoosePanicMenuItem(panic_, 4));
    ASSERT_TRUE(WaitUntil([&] { return AllShown(windows); }));
    // Shown without activation: none of them takes the foreground (and the next menu's keys) from the button.
    EXPECT_FALSE(WaitUntil([&] { return std::count(windows.begin(), windows.end(), GetForegroundWindow()) > 0; }, 300));
    ASSERT_TRUE(ChoosePanicMenuItem(panic_, 6));
    EXPECT_TRUE(WaitUntil([&] { return !hc_.IsRunning(); }));
}

}  // namespace
}  // namespace hctest
