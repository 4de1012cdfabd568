#include <gtest/gtest.h>

#include <algorithm>

#include "Doubles.h"
#include "engine/Dispatcher.h"
#include "engine/WindowEngine.h"
#include "settings/Settings.h"

namespace hc {
namespace {

using hctest::CallLog;

constexpr UINT kHide = 0xC001;
constexpr UINT kUnhide = 0xC002;

class DispatcherTest : public ::testing::Test {
protected:
    CallLog log_;
    hctest::FakeWindowSystem windows_{log_};
    hctest::RecordingShell shell_{log_};
    hctest::RecordingSwitches switches_{log_};
    hctest::RecordingCleanup cleanup_{log_};
    hctest::ScriptedPrompt prompt_{log_};
    hctest::RecordingLauncher launcher_{log_};
    Settings settings_;
    VisibleWindowList visible_{windows_, L"HushCloak Privacy 6.1"};
    WindowEngine engine_{windows_, visible_, settings_, shell_, switches_, cleanup_, prompt_};
    PrivacyDispatcher dispatcher_{engine_, settings_, shell_, cleanup_, prompt_, launcher_};
    HWND mail_ = nullptr;
    HWND notes_ = nullptr;

    void SetUp() override {
        dispatcher_.SetAtoms(kHide, kUnhide);
        settings_.cbHideIcon = false;
        settings_.fHidePanicBtn = false;
        settings_.cbMuteAudio = false;
        mail_ = windows_.Add(L"Mail");
        notes_ = windows_.Add(L"Notes");
        windows_.foreground = notes_;
    }

    size_t IndexOf(const std::string& call) const {
        return static_cast<size_t>(std::find(log_.begin(), log_.end(), call) - log_.begin());
    }
    size_t Count(const std::string& call) const { return std::count(log_.begin(), log_.end(), call); }
};

TEST_F(DispatcherTest, DoNothingTouchesNothing) {
    settings_.Action = 4;
    settings_.cbHideIcon = true;
    switches_.administrator = true;
    shell_.mainWindowVisible = true;
    dispatcher_.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(log_.empty()) << log_.front();
    EXPECT_TRUE(windows_.Visible(mail_));
}

TEST_F(DispatcherTest, WindowActionsCloseOwnWindowsFirstEmptyTheListAndCleanUpOnce) {
    settings_.cbHideIcon = true;
    switches_.administrator = true;
    for (int action : {0, 1, 2, 3}) {
        log_.clear();
        settings_.Action = action;
        shell_.mainWindowVisible = true;
        dispatcher_.GetHotKeys(Sender::None, kHide);
        EXPECT_EQ(IndexOf("TrayOff"), 0u) << action;
        EXPECT_LT(IndexOf("CloseMainWindow"), IndexOf("DoOptions")) << action;
        EXPECT_EQ(Count("TaskManagerOn"), 1u) << action;
        EXPECT_EQ(Count("CloseAboutWindow"), 1u) << action;
        EXPECT_EQ(Count("DoOptions"), 1u) << action;
        EXPECT_EQ(log_.back(), "DoOptions") << action;
        EXPECT_TRUE(visible_.Entries().empty()) << action;
    }
}

TEST_F(DispatcherTest, HideAllHidesEveryListedWindowInOrderAndRestoreShowsThemInTheSameOrder) {
    dispatcher_.GetHotKeys(Sender::None, kHide);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(notes_));
    ASSERT_EQ(engine_.Hidden().size(), 2u);
    EXPECT_EQ(engine_.Hidden()[0].title, L"Mail");
    log_.clear();
    dispatcher_.GetHotKeys(Sender::None, kUnhide);
    EXPECT_EQ(log_, (CallLog{"Show Mail", "TrayOn", "Show Notes", "TrayOn"}));
    EXPECT_TRUE(engine_.Hidden().empty());
    EXPECT_EQ(visible_.Entries().size(), 2u);  // rebuilt
}

TEST_F(DispatcherTest, CustomKeysInForceSilenceTheDefaultsButNotThePanicButton) {
    settings_.UseDefaultKeys = false;
    dispatcher_.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(windows_.Visible(mail_));
    dispatcher_.GetHotKeys(Sender::PanicButton, kHide);
    EXPECT_FALSE(windows_.Visible(mail_));
    dispatcher_.DoHotKey(Sender::AppHkUnHide);
    EXPECT_TRUE(windows_.Visible(mail_));
    // and the other way round: the user's own hide key does nothing while the defaults are in force
    settings_.UseDefaultKeys = true;
    dispatcher_.DoHotKey(Sender::AppHkHide);
    EXPECT_TRUE(windows_.Visible(mail_));
}

TEST_F(DispatcherTest, UnhideWithNothingHiddenAsksForNoPassword) {
    settings_.cbPassword = true;
    dispatcher_.GetHotKeys(Sender::None, kUnhide);
    dispatcher_.DoHotKey(Sender::AppHkUnHide);
    EXPECT_EQ(Count("PromptShown"), 0u);
}

TEST_F(DispatcherTest, PasswordDecidesWhetherWindowsComeBack) {
    settings_.cbPassword = true;
    dispatcher_.GetHotKeys(Sender::None, kHide);
    prompt_.answer = false;  // Cancel
    dispatcher_.GetHotKeys(Sender::None, kUnhide);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_EQ(engine_.Hidden().size(), 2u);
    prompt_.answer = true;
    dispatcher_.DoHotKey(Sender::AppHkUnHide);
    EXPECT_TRUE(windows_.Visible(mail_));
    // each dispatcher owns its prompt: the controller, then the hotkey dialog
    EXPECT_EQ(prompt_.owners, (std::vector<HWND>{shell_.ControllerWindow(), shell_.HotkeyDialogWindow()}));
}

TEST_F(DispatcherTest, ASecondUnhideWhileThePromptIsOpenIsIgnored) {
    settings_.cbPassword = true;
    dispatcher_.GetHotKeys(Sender::None, kHide);
    prompt_.answer = false;
    prompt_.whileOpen = [&] { dispatcher_.GetHotKeys(Sender::None, kUnhide); };
    dispatcher_.GetHotKeys(Sender::None, kUnhide);
    EXPECT_EQ(Count("PromptShown"), 1u);
    EXPECT_FALSE(windows_.Visible(mail_));
}

TEST_F(DispatcherTest, AHideWhileThePromptIsOpenCancelsItAndRestoresNothing) {
    settings_.cbPassword = true;
    dispatcher_.GetHotKeys(Sender::None, kHide);
    HWND later = windows_.Add(L"Opened later");
    prompt_.answer = true;  // the user would have typed it right, had the prompt stayed
    prompt_.whileOpen = [&] { dispatcher_.GetHotKeys(Sender::None, kHide); };
    dispatcher_.GetHotKeys(Sender::None, kUnhide);
    EXPECT_EQ(Count("PromptCancel"), 1u);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(later));
    EXPECT_EQ(engine_.Hidden().size(), 3u);
}

TEST_F(DispatcherTest, AFailingCleanUpBringsEveryHiddenWindowBack) {
    cleanup_.fail = true;
    dispatcher_.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(windows_.Visible(mail_));
    EXPECT_TRUE(windows_.Visible(notes_));
    EXPECT_TRUE(engine_.Hidden().empty());
    cleanup_.fail = true;
    settings_.UseDefaultKeys = false;
    dispatcher_.DoHotKey(Sender::AppHkHide);
    EXPECT_TRUE(windows_.Visible(mail_));
}

TEST_F(DispatcherTest, TheUserHotkeyDispatchKeepsTheIdleHandlerDetachedThroughout) {
    settings_.UseDefaultKeys = true;
    dispatcher_.DoHotKey(Sender::AppHkHide);  // an early way out
    EXPECT_EQ(log_, (CallLog{"DetachIdle", "AttachIdle"}));
    log_.clear();
    cleanup_.fail = true;
    dispatcher_.DoHotKey(Sender::PanicButton);
    EXPECT_EQ(log_.front(), "DetachIdle");
    EXPECT_EQ(log_.back(), "AttachIdle");
    EXPECT_EQ(Count("DetachIdle"), 1u);
}

TEST_F(DispatcherTest, ActiveApplicationFromThePanicButtonIsTheWindowInFrontBeforeTheClick) {
    settings_.Action = 1;
    shell_.lastActive = mail_;
    dispatcher_.DoHotKey(Sender::PanicButton);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_TRUE(windows_.Visible(notes_));
    dispatcher_.GetHotKeys(Sender::None, kHide);  // from the hotkey: the foreground window
    EXPECT_FALSE(windows_.Visible(notes_));
}

TEST_F(DispatcherTest, TheDecoyIsLaunchedAfterTheActionAndItsProcessRemembered) {
    settings_.UseDecoy = true;
    settings_.DecoyApp = L"C:\\report.txt";
    dispatcher_.GetHotKeys(Sender::None, kHide);
    EXPECT_LT(IndexOf("Hide Notes"), IndexOf("Launch C:\\report.txt"));
    EXPECT_LT(IndexOf("Launch C:\\report.txt"), IndexOf("DoOptions"));
    log_.clear();
    settings_.Action = 4;
    dispatcher_.GetHotKeys(Sender::None, kHide);
    EXPECT_EQ(Count("Launch C:\\report.txt"), 0u);
    log_.clear();
    settings_.Action = 0;
    settings_.DecoyApp.clear();
    dispatcher_.GetHotKeys(Sender::None, kHide);
    EXPECT_EQ(Count("DoOptions"), 1u);
    EXPECT_EQ(std::count_if(log_.begin(), log_.end(), [](auto& c) { return c.rfind("Launch", 0) == 0; }), 0);
}

TEST_F(DispatcherTest, AnIndexOutsideTheActionsStillCleansUp) {
    settings_.Action = -1;
    dispatcher_.GetHotKeys(Sender::None, kHide);
    EXPECT_EQ(log_, CallLog{"DoOptions"});
}

}  // namespace
}  // namespace hc
