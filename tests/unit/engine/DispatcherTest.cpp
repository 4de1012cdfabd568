#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "PanicKeysFixture.h"
#include "engine/WindowEngine.h"
#include "settings/Conversions.h"
#include "settings/Settings.h"

namespace hc {
namespace {

using hctest::CallLog;

class DispatcherTest : public hctest::PanicKeysFixture {
protected:
    size_t IndexOf(const std::string& call) const {
        return static_cast<size_t>(std::find(log_.begin(), log_.end(), call) - log_.begin());
    }
    size_t Count(const std::string& call) const { return std::count(log_.begin(), log_.end(), call); }
};

TEST_F(DispatcherTest, DoNothingTouchesNothing) {
    rig_.settings.Action = 4;
    rig_.settings.cbHideIcon = true;
    rig_.switches.administrator = true;
    rig_.shell.mainWindowVisible = true;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(log_.empty()) << log_.front();
    EXPECT_TRUE(windows_.Visible(mail_));
}

TEST_F(DispatcherTest, WindowActionsCloseOwnWindowsFirstEmptyTheListAndCleanUpOnce) {
    rig_.settings.cbHideIcon = true;
    rig_.switches.administrator = true;
    for (int action : {0, 1, 2, 3}) {
        log_.clear();
        rig_.settings.Action = action;
        rig_.shell.mainWindowVisible = true;
        rig_.dispatcher.GetHotKeys(Sender::None, kHide);
        EXPECT_EQ(IndexOf("TrayOff"), 0u) << action;
        EXPECT_LT(IndexOf("CloseMainWindow"), IndexOf("DoOptions")) << action;
        EXPECT_EQ(Count("TaskManagerOn"), 1u) << action;
        EXPECT_EQ(Count("CloseAboutWindow"), 1u) << action;
        EXPECT_EQ(Count("DoOptions"), 1u) << action;
        EXPECT_EQ(log_.back(), "DoOptions") << action;
        EXPECT_TRUE(rig_.visible.Entries().empty()) << action;
    }
}

TEST_F(DispatcherTest, HideAllHidesEveryListedWindowInOrderAndRestoreShowsThemInTheSameOrder) {
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(notes_));
    ASSERT_EQ(rig_.engine.Hidden().size(), 2u);
    EXPECT_EQ(rig_.engine.Hidden()[0].title, L"Mail");
    log_.clear();
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    // Shown without activation, then the window that was in front gets the foreground back, once.
    EXPECT_EQ(log_, (CallLog{"Show Mail", "Show Notes", "Front Notes", "TrayOn"}));
    EXPECT_TRUE(rig_.engine.Hidden().empty());
}

TEST_F(DispatcherTest, HideAllHidesTheWindowInFrontLastSoTheActivationMovesOnlyOnce) {
    windows_.foreground = mail_;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_LT(IndexOf("Hide Notes"), IndexOf("Hide Mail"));
    // Listed in the order of hiding, so the restore shows the front window last, as it gives it the foreground.
    ASSERT_EQ(rig_.engine.Hidden().size(), 2u);
    EXPECT_EQ(rig_.engine.Hidden()[1].title, L"Mail");
    EXPECT_EQ(rig_.journal.saved[1].title, L"Mail");
    log_.clear();
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_EQ(log_, (CallLog{"Show Notes", "Show Mail", "Front Mail", "TrayOn"}));
}

TEST_F(DispatcherTest, WindowsWithHandlesOf2To31AndAboveComeBack) {
    // The system hands such handles out sign-extended; their list text is the unsigned 32-bit number.
    HWND high = windows_.AddAt(reinterpret_cast<HWND>(static_cast<intptr_t>(INT32_MIN + 0x1234)), L"High handle");
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    ASSERT_FALSE(windows_.Visible(high));
    const auto entry = std::find_if(rig_.engine.Hidden().begin(), rig_.engine.Hidden().end(),
                                    [](const HiddenWindow& e) { return e.title == L"High handle"; });
    ASSERT_NE(entry, rig_.engine.Hidden().end());
    EXPECT_EQ(HandleToText(entry->handle), L"2147488308");
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_TRUE(windows_.Visible(high));
}

TEST_F(DispatcherTest, CustomKeysInForceSilenceTheDefaultsButNotThePanicButton) {
    rig_.settings.UseDefaultKeys = false;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(windows_.Visible(mail_));
    rig_.dispatcher.GetHotKeys(Sender::PanicButton, kHide);
    EXPECT_FALSE(windows_.Visible(mail_));
    rig_.dispatcher.DoHotKey(Sender::AppHkUnHide);
    EXPECT_TRUE(windows_.Visible(mail_));
    // and the other way round: the user's own hide key does nothing while the defaults are in force
    rig_.settings.UseDefaultKeys = true;
    rig_.dispatcher.DoHotKey(Sender::AppHkHide);
    EXPECT_TRUE(windows_.Visible(mail_));
}

TEST_F(DispatcherTest, ThePanicButtonsClickRunsTheActionWithoutAnyKeyInForce) {
    rig_.dispatcher.SetAtoms(0, 0);  // neither default key could be registered
    rig_.settings.UseDefaultKeys = false;
    rig_.dispatcher.PanicButtonClick();
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(notes_));
    EXPECT_EQ(Count("DetachIdle"), 0u);
    rig_.dispatcher.DoHotKey(Sender::AppHkUnHide);

    // The action on the active application: the window in front before the click, the idle handler held meanwhile.
    log_.clear();
    rig_.settings.Action = 1;
    rig_.shell.lastActive = mail_;
    rig_.dispatcher.PanicButtonClick();
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_TRUE(windows_.Visible(notes_));
    EXPECT_EQ(log_.front(), "DetachIdle");
    EXPECT_EQ(log_.back(), "AttachIdle");
}

TEST_F(DispatcherTest, UnhideWithNothingHiddenAsksForNoPassword) {
    rig_.settings.cbPassword = true;
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    rig_.dispatcher.DoHotKey(Sender::AppHkUnHide);
    EXPECT_EQ(Count("PromptShown"), 0u);
}

TEST_F(DispatcherTest, PasswordDecidesWhetherWindowsComeBack) {
    rig_.settings.cbPassword = true;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    rig_.prompt.answer = false;  // Cancel
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_EQ(rig_.engine.Hidden().size(), 2u);
    rig_.prompt.answer = true;
    rig_.dispatcher.DoHotKey(Sender::AppHkUnHide);
    EXPECT_TRUE(windows_.Visible(mail_));
    // each dispatcher owns its prompt: the controller, then the hotkey dialog
    EXPECT_EQ(rig_.prompt.owners, (std::vector<HWND>{rig_.shell.ControllerWindow(), rig_.shell.HotkeyDialogWindow()}));
}

TEST_F(DispatcherTest, ASecondUnhideWhileThePromptIsOpenIsIgnored) {
    rig_.settings.cbPassword = true;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    rig_.prompt.answer = false;
    rig_.prompt.whileOpen = [&] { PressUnhide(); };
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_EQ(Count("PromptShown"), 1u);
    EXPECT_FALSE(windows_.Visible(mail_));
}

TEST_F(DispatcherTest, AHideWhileThePromptIsOpenCancelsItAndRestoresNothing) {
    rig_.settings.cbPassword = true;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    HWND later = windows_.Add(L"Opened later");
    rig_.prompt.answer = true;  // the user would have typed it right, had the prompt stayed
    rig_.prompt.whileOpen = [&] { PressHide(); };
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_EQ(Count("PromptCancel"), 1u);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(later));
    EXPECT_EQ(rig_.engine.Hidden().size(), 3u);
}

TEST_F(DispatcherTest, AFailingCleanUpBringsEveryHiddenWindowBack) {
    rig_.cleanup.fail = true;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(windows_.Visible(mail_));
    EXPECT_TRUE(windows_.Visible(notes_));
    EXPECT_TRUE(rig_.engine.Hidden().empty());
    rig_.cleanup.fail = true;
    rig_.settings.UseDefaultKeys = false;
    rig_.dispatcher.DoHotKey(Sender::AppHkHide);
    EXPECT_TRUE(windows_.Visible(mail_));
}

TEST_F(DispatcherTest, TheUserHotkeyDispatchKeepsTheIdleHandlerDetachedThroughout) {
    rig_.settings.UseDefaultKeys = true;
    rig_.dispatcher.DoHotKey(Sender::AppHkHide);  // an early way out
    EXPECT_EQ(log_, (CallLog{"DetachIdle", "AttachIdle"}));
    log_.clear();
    rig_.cleanup.fail = true;
    rig_.dispatcher.DoHotKey(Sender::PanicButton);
    EXPECT_EQ(log_.front(), "DetachIdle");
    EXPECT_EQ(log_.back(), "AttachIdle");
    EXPECT_EQ(Count("DetachIdle"), 1u);
}

TEST_F(DispatcherTest, ActiveApplicationFromThePanicButtonIsTheWindowInFrontBeforeTheClick) {
    rig_.settings.Action = 1;
    rig_.shell.lastActive = mail_;
    rig_.dispatcher.DoHotKey(Sender::PanicButton);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_TRUE(windows_.Visible(notes_));
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);  // from the hotkey: the foreground window
    EXPECT_FALSE(windows_.Visible(notes_));
}

TEST_F(DispatcherTest, TheDecoyIsLaunchedAfterTheActionAndItsProcessRemembered) {
    rig_.settings.UseDecoy = true;
    rig_.settings.DecoyApp = L"C:\\report.txt";
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_LT(IndexOf("Hide Notes"), IndexOf("Launch C:\\report.txt"));
    EXPECT_LT(IndexOf("Launch C:\\report.txt"), IndexOf("DoOptions"));
    log_.clear();
    rig_.settings.Action = 4;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_EQ(Count("Launch C:\\report.txt"), 0u);
    log_.clear();
    rig_.settings.Action = 0;
    rig_.settings.DecoyApp.clear();
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_EQ(Count("DoOptions"), 1u);
    EXPECT_EQ(std::count_if(log_.begin(), log_.end(), [](auto& c) { return c.rfind("Launch", 0) == 0; }), 0);
}

TEST_F(DispatcherTest, WithNoActionSelectedAPanicDoesNothingAtAll) {
    // No clean-up (emptying the Recycle Bin, deleting history) with the user's windows still on screen.
    rig_.settings.Action = -1;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    rig_.dispatcher.DoHotKey(Sender::PanicButton);
    EXPECT_EQ(log_, (CallLog{"DetachIdle", "AttachIdle"}));
}

TEST_F(DispatcherTest, TheProgramsOwnWindowInFrontIsNeitherHiddenNorClosed) {
    // Decided by process: the hotkey dialog's title is the product's, and a restore would skip it.
    HWND dialog = windows_.Add(L"Hushcloak Privacy 6.0");
    windows_.At(dialog).processId = rig_.processSystem.OwnProcessId();
    windows_.foreground = dialog;
    for (int action : {1, 3}) {
        rig_.settings.Action = action;
        rig_.dispatcher.GetHotKeys(Sender::None, kHide);
        EXPECT_TRUE(windows_.Visible(dialog)) << action;
        EXPECT_TRUE(windows_.closeRequests.empty()) << action;
        EXPECT_TRUE(rig_.engine.Hidden().empty()) << action;
    }
    rig_.settings.Action = 0;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(windows_.Visible(dialog));
    EXPECT_FALSE(windows_.Visible(mail_));
}

class TwoCustomKeys : public CustomHotkeys {
public:
    bool HideKeyInForce() override { return hide; }
    bool UnhideKeyInForce() override { return unhide; }
    bool hide = true;
    bool unhide = true;
};

TEST_F(DispatcherTest, ADefaultKeyWorksWheneverTheUsersOwnKeyOfItsRoleIsNotInForce) {
    TwoCustomKeys custom;
    rig_.dispatcher.SetCustomHotkeys(&custom);
    rig_.settings.UseDefaultKeys = false;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(windows_.Visible(mail_));  // the user's own hide key is in force
    rig_.dispatcher.DoHotKey(Sender::AppHkHide);
    ASSERT_FALSE(windows_.Visible(mail_));
    // Only the hide row was tested: no own unhide key, so Ctrl+Backspace must still bring the windows back.
    custom.unhide = false;
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_TRUE(windows_.Visible(mail_));
    // A stored own key the system refused at start-up: that role keeps its default key too.
    custom.hide = false;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_FALSE(windows_.Visible(mail_));
}

TEST_F(DispatcherTest, ARestoreThatFailsPartWayKeepsEveryWindowItCouldNotShow) {
    HWND third = windows_.Add(L"Diary");
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    ASSERT_EQ(rig_.engine.Hidden().size(), 3u);
    windows_.failOnShow = 2;  // the window manager fails on the second window (Notes, in front, comes last)
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_TRUE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(third));
    EXPECT_TRUE(windows_.Visible(notes_));
    ASSERT_EQ(rig_.engine.Hidden().size(), 1u);
    EXPECT_EQ(rig_.engine.Hidden()[0].title, L"Diary");
    EXPECT_EQ(rig_.journal.saved.size(), 1u);  // the journal still names it
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_TRUE(windows_.Visible(third));
    EXPECT_TRUE(rig_.engine.Hidden().empty());
}

TEST_F(DispatcherTest, TheActiveWindowIsTakenBeforeTheDecoyComesToTheFront) {
    HWND decoy = windows_.Add(L"Decoy notes");
    rig_.visible.SetDecoyAppHandle(decoy);
    rig_.settings.UseDecoy = true;
    rig_.settings.DecoyApp = L"C:\\notes.txt";
    rig_.settings.UseDefaultKeys = false;
    windows_.foreground = notes_;
    rig_.settings.Action = 1;
    rig_.dispatcher.DoHotKey(Sender::AppHkHide);
    EXPECT_FALSE(windows_.Visible(notes_));
    EXPECT_TRUE(windows_.Visible(decoy));
    windows_.foreground = mail_;
    rig_.settings.Action = 3;
    rig_.dispatcher.DoHotKey(Sender::AppHkHide);
    EXPECT_EQ(windows_.closeRequests, std::vector<HWND>{mail_});
}

TEST_F(DispatcherTest, CloseActiveFromThePanicButtonClosesTheWindowInFrontBeforeTheClick) {
    rig_.settings.Action = 3;
    rig_.shell.lastActive = mail_;
    windows_.foreground = reinterpret_cast<HWND>(0xB0);  // the button itself
    rig_.dispatcher.DoHotKey(Sender::PanicButton);
    EXPECT_EQ(windows_.closeRequests, std::vector<HWND>{mail_});
}

TEST_F(DispatcherTest, ADecoyWhoseProcessEndedIsForgottenSoARecycledIdIsNoDecoy) {
    hctest::FakeProcessSystem processes;
    CallLog log;
    hctest::FakeWindowSystem windows{log};
    hctest::EngineRig rig{windows, log, nullptr, &processes};
    rig.dispatcher.SetAtoms(kHide, kUnhide);
    rig.settings.cbMuteAudio = false;
    rig.settings.UseDecoy = true;
    rig.settings.DecoyApp = L"C:\\notes.txt";
    const HANDLE decoyProcess = reinterpret_cast<HANDLE>(0x44);
    rig.launcher.handle = decoyProcess;
    rig.dispatcher.GetHotKeys(Sender::None, kHide);  // the decoy starts as process 4242
    processes.ended.insert(decoyProcess);
    HWND stranger = windows.Add(L"Someone else's window");
    windows.At(stranger).processId = 4242;  // the id went to another program
    rig.settings.UseDecoy = false;
    rig.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_FALSE(windows.Visible(stranger));
}

TEST_F(DispatcherTest, AHandleThatNowBelongsToAnotherProgramIsNotShown) {
    windows_.At(mail_).processId = 100;
    windows_.At(notes_).processId = 100;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    windows_.Reuse(mail_, 200);  // Mail closed; its handle went to another program's hidden window
    windows_.Remove(notes_);     // Notes is simply gone
    log_.clear();
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_TRUE(rig_.engine.Hidden().empty());
    EXPECT_TRUE(std::none_of(log_.begin(), log_.end(), [](auto& c) { return c.rfind("Show", 0) == 0; }));
}

TEST_F(DispatcherTest, EveryHiddenWindowIsInTheJournalBeforeItIsHidden) {
    bool recordedFirst = true;
    rig_.journal.onSave = [&] { recordedFirst = recordedFirst && windows_.Visible(mail_) && windows_.Visible(notes_); };
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(recordedFirst);
    ASSERT_EQ(rig_.journal.saved.size(), 2u);
    EXPECT_EQ(rig_.journal.saved[0].handle, rig_.engine.Hidden()[0].handle);
    rig_.journal.onSave = nullptr;
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
    EXPECT_TRUE(rig_.journal.saved.empty());
}

TEST_F(DispatcherTest, AHideWalksACopyOfTheListThatACollaboratorRebuildsMeanwhile) {
    // Saving the journal (or closing the Panic Button) may pump messages, and a refresh may run then.
    rig_.journal.onSave = [&] { rig_.visible.Clear(); };
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(notes_));
}

TEST_F(DispatcherTest, WithAPasswordAFailedHideRestoresOnlyWhatThatHideHid) {
    rig_.settings.cbPassword = true;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);  // protected by the password from now on
    HWND later = windows_.Add(L"Opened later");
    rig_.cleanup.fail = true;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(windows_.Visible(later));
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_EQ(rig_.engine.Hidden().size(), 2u);
    EXPECT_EQ(Count("PromptShown"), 0u);
}

}  // namespace
}  // namespace hc
