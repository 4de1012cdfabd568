#include <gtest/gtest.h>

#include <algorithm>

#include "PanicKeysFixture.h"
#include "engine/WindowEngine.h"
#include "settings/Settings.h"

namespace hc {
namespace {

using hctest::CallLog;

// The records that stand between a hidden window and its loss: what is listed and journalled, and when.
class NeverLostTest : public hctest::PanicKeysFixture {
protected:
    NeverLostTest() : PanicKeysFixture(true) {}
    HWND OwnWindow(const std::wstring& title) {
        HWND window = windows_.Add(title);
        windows_.At(window).processId = windows_.ownProcessId;
        return window;
    }
    static std::vector<std::wstring> Titles(const HiddenWindowList& list) {
        std::vector<std::wstring> titles;
        for (const HiddenWindow& entry : list) titles.push_back(entry.title);
        return titles;
    }
};

TEST_F(NeverLostTest, AWindowWhoseShowWasRefusedStaysListedAndJournalled) {
    PressHide();
    windows_.refuseShow.insert(mail_);
    PressUnhide();
    EXPECT_TRUE(windows_.Visible(notes_));
    EXPECT_EQ(Titles(rig_.engine.Hidden()), std::vector<std::wstring>{L"Mail"});
    EXPECT_EQ(Titles(rig_.journal.saved), std::vector<std::wstring>{L"Mail"});
    windows_.refuseShow.clear();
    PressUnhide();
    EXPECT_TRUE(windows_.Visible(mail_));
    EXPECT_TRUE(rig_.journal.saved.empty());
}

// The Hidden page's commands restore as the unhide key does, and the exit keeps what it could not show.
TEST_F(NeverLostTest, TheHiddenPagesCommandsAndTheExitKeepWhatWasRefused) {
    HWND diary = windows_.Add(L"Diary");
    HWND update = OwnWindow(L"Hushcloak Privacy - WebUpdate");
    windows_.holdingWork.insert(update);
    rig_.settings.cbMuteAudio = true;
    PressHide();
    ASSERT_EQ(Titles(rig_.engine.Hidden()), (std::vector<std::wstring>{L"Mail", L"Diary", L"Notes"}));
    windows_.refuseShow.insert(mail_);
    rig_.engine.ShowSelectedWindow(0);
    EXPECT_EQ(Titles(rig_.journal.saved), (std::vector<std::wstring>{L"Mail", L"Diary", L"Notes"}));
    rig_.engine.ShowSelectedWindow(1);
    EXPECT_TRUE(windows_.Visible(diary));
    EXPECT_FALSE(windows_.Visible(update));  // ours comes back with the last of them
    EXPECT_EQ(Titles(rig_.journal.saved), (std::vector<std::wstring>{L"Mail", L"Notes"}));

    log_.clear();
    rig_.engine.ShowAllWindows();
    EXPECT_TRUE(windows_.Visible(notes_));
    EXPECT_TRUE(windows_.Visible(update));
    EXPECT_EQ(Titles(rig_.engine.Hidden()), std::vector<std::wstring>{L"Mail"});
    EXPECT_EQ(Titles(rig_.journal.saved), std::vector<std::wstring>{L"Mail"});
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "Unmute"), 1);

    rig_.engine.IsExiting();
    EXPECT_EQ(Titles(rig_.journal.saved), std::vector<std::wstring>{L"Mail"});
    windows_.refuseShow.clear();
    rig_.engine.IsExiting();
    EXPECT_TRUE(windows_.Visible(mail_));
    EXPECT_TRUE(rig_.journal.saved.empty());
}

TEST_F(NeverLostTest, TheCrashGuardShowsNothingBehindAPasswordAndClearsOnlyWhatItShowed) {
    PressHide();
    rig_.settings.cbPassword = true;
    rig_.engine.ShowEverythingForCrash();
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(notes_));
    EXPECT_EQ(rig_.journal.saved.size(), 2u);  // left for the next start, which asks

    rig_.settings.cbPassword = false;
    windows_.refuseShow.insert(notes_);
    windows_.refuseShow.insert(mail_);
    rig_.engine.ShowEverythingForCrash();
    EXPECT_EQ(rig_.journal.saved.size(), 2u) << "having shown nothing, it has nothing to write";
    windows_.refuseShow.erase(mail_);
    rig_.engine.ShowEverythingForCrash();
    EXPECT_TRUE(windows_.Visible(mail_));
    EXPECT_EQ(Titles(rig_.journal.saved), std::vector<std::wstring>{L"Notes"});
}

TEST_F(NeverLostTest, EachWindowIsRecordedWithItsOwnProcessAndOneThatVanishedIsSkipped) {
    // An owned pop-up of another program (a shared dialog host, say) goes with the active window.
    HWND popup = windows_.Add(L"");
    windows_.At(popup).processId = 300;
    windows_.At(popup).facts.owner = notes_;
    windows_.At(popup).facts.hasCaption = false;
    rig_.settings.Action = 1;
    PressHide();
    ASSERT_EQ(rig_.engine.Hidden().size(), 2u);
    const auto entry = std::find_if(rig_.engine.Hidden().begin(), rig_.engine.Hidden().end(),
                                    [](const HiddenWindow& e) { return e.processId == 300; });
    ASSERT_NE(entry, rig_.engine.Hidden().end());
    EXPECT_EQ(entry->processCreation, 300'000u);             // its own process's, not its owner's
    EXPECT_EQ(rig_.engine.Hidden().back().title, L"Notes");  // hidden last, listed last

    PressUnhide();
    windows_.foreground = mail_;
    // The window closes right after the panic saw it: no process to record it by, nothing to hide.
    windows_.afterIsVisible = [&](HWND window) {
        if (window == mail_) windows_.Remove(window);
    };
    PressHide();
    EXPECT_TRUE(rig_.engine.Hidden().empty());
    EXPECT_TRUE(rig_.journal.saved.empty());
}

TEST_F(NeverLostTest, APanicClosesTheProgramsQuestionsAndHidesItsWorkUntilTheRestore) {
    HWND question = OwnWindow(L"HushCloak");
    HWND update = OwnWindow(L"Hushcloak Privacy - WebUpdate");
    HWND button = OwnWindow(L"Panic");
    windows_.holdingWork.insert(update);
    rig_.shell.panicButton = button;
    PressHide();
    EXPECT_FALSE(windows_.Visible(question));
    EXPECT_FALSE(windows_.Visible(update));
    EXPECT_EQ(windows_.heldWork, std::set<HWND>{update});  // told, so its work shows nothing until the restore
    EXPECT_TRUE(windows_.Visible(button));  // it follows its own setting
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "Cancel HushCloak"), 1);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "Cancel Hushcloak Privacy - WebUpdate"), 0);
    EXPECT_EQ(Titles(rig_.journal.saved), (std::vector<std::wstring>{L"Mail", L"Notes"}));  // ours never

    PressUnhide();
    EXPECT_TRUE(windows_.Visible(update));
    EXPECT_TRUE(windows_.heldWork.empty());
    EXPECT_FALSE(windows_.Visible(question));

    // With nothing of other programs hidden, the unhide key still gives the work back.
    rig_.settings.Action = 1;
    windows_.foreground = nullptr;
    PressHide();
    ASSERT_FALSE(windows_.Visible(update));
    ASSERT_TRUE(rig_.engine.Hidden().empty());
    PressUnhide();
    EXPECT_TRUE(windows_.Visible(update));
}

}  // namespace
}  // namespace hc
