#include <gtest/gtest.h>

#include "PanicKeysFixture.h"
#include "settings/Settings.h"

namespace hc {
namespace {

// The doubles' process n runs C:\Programs\app<n>.exe; process 43 is the kept one.
class KeptProgramTest : public hctest::PanicKeysFixture {
protected:
    KeptProgramTest() : PanicKeysFixture(true) {}
    HWND music_ = nullptr;
    HWND unreadable_ = nullptr;

    // Its own windows instead of the fixture's.
    void SetUp() override {
        QuietAction();
        rig_.settings.KeepVisible = {L"APP43.exe"};
        music_ = Open(L"Music", 43);
        mail_ = Open(L"Mail", 42);
        unreadable_ = Open(L"Admin console", 44);
        processes_.unreadable.insert(44);
    }
    HWND Open(const std::wstring& title, DWORD processId) {
        HWND window = windows_.Add(title);
        windows_.At(window).processId = processId;
        return window;
    }
};

TEST_F(KeptProgramTest, HideAllAndCloseAllLeaveTheKeptProgramAloneAndAnUnreadableOneIsTreatedAsBefore) {
    PressHide();
    EXPECT_TRUE(windows_.Visible(music_));
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(unreadable_));
    ASSERT_EQ(rig_.engine.Hidden().size(), 2u) << "a kept window is never listed as hidden";
    PressUnhide();
    EXPECT_TRUE(windows_.Visible(mail_));
    EXPECT_TRUE(windows_.Visible(unreadable_));

    rig_.settings.Action = 2;
    rig_.dispatcher.GetHotKeys(Sender::PanicButton, kHide);
    EXPECT_EQ(windows_.closeRequests, (std::vector<HWND>{mail_, unreadable_}));
}

TEST_F(KeptProgramTest, ActionsOnTheActiveWindowDoNothingToAKeptOneFromTheKeyOrThePanicButton) {
    for (int action : {1, 3}) {
        rig_.settings.Action = action;
        windows_.foreground = music_;
        PressHide();
        rig_.shell.lastActive = music_;
        rig_.dispatcher.DoHotKey(Sender::PanicButton);
        EXPECT_TRUE(windows_.Visible(music_)) << action;
        EXPECT_TRUE(windows_.closeRequests.empty()) << action;
        EXPECT_TRUE(rig_.engine.Hidden().empty()) << action;
    }
    // The same actions still reach every other program.
    rig_.settings.Action = 1;
    windows_.foreground = mail_;
    PressHide();
    EXPECT_FALSE(windows_.Visible(mail_));
    rig_.settings.Action = 3;
    rig_.shell.lastActive = unreadable_;
    rig_.dispatcher.DoHotKey(Sender::PanicButton);
    EXPECT_EQ(windows_.closeRequests, std::vector<HWND>{unreadable_});
}

}  // namespace
}  // namespace hc
