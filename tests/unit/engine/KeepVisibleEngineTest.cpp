#include <gtest/gtest.h>

#include "Doubles.h"
#include "engine/Dispatcher.h"
#include "settings/Settings.h"

namespace hc {
namespace {

constexpr UINT kHide = 0xC001;
constexpr UINT kUnhide = 0xC002;

// The doubles' process n runs C:\Programs\app<n>.exe; process 43 is the kept one.
class KeptProgramTest : public ::testing::Test {
protected:
    hctest::CallLog log_;
    hctest::FakeWindowSystem windows_{log_};
    hctest::FakeProcessSystem processes_;
    hctest::EngineRig rig_{windows_, log_, nullptr, &processes_};
    HWND music_ = nullptr;
    HWND mail_ = nullptr;
    HWND unreadable_ = nullptr;

    void SetUp() override {
        rig_.dispatcher.SetAtoms(kHide, kUnhide);
        rig_.settings.cbHideIcon = false;
        rig_.settings.fHidePanicBtn = false;
        rig_.settings.cbMuteAudio = false;
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
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_TRUE(windows_.Visible(music_));
    EXPECT_FALSE(windows_.Visible(mail_));
    EXPECT_FALSE(windows_.Visible(unreadable_));
    ASSERT_EQ(rig_.engine.Hidden().size(), 2u) << "a kept window is never listed as hidden";
    rig_.dispatcher.GetHotKeys(Sender::None, kUnhide);
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
        rig_.dispatcher.GetHotKeys(Sender::None, kHide);
        rig_.shell.lastActive = music_;
        rig_.dispatcher.DoHotKey(Sender::PanicButton);
        EXPECT_TRUE(windows_.Visible(music_)) << action;
        EXPECT_TRUE(windows_.closeRequests.empty()) << action;
        EXPECT_TRUE(rig_.engine.Hidden().empty()) << action;
    }
    // The same actions still reach every other program.
    rig_.settings.Action = 1;
    windows_.foreground = mail_;
    rig_.dispatcher.GetHotKeys(Sender::None, kHide);
    EXPECT_FALSE(windows_.Visible(mail_));
    rig_.settings.Action = 3;
    rig_.shell.lastActive = unreadable_;
    rig_.dispatcher.DoHotKey(Sender::PanicButton);
    EXPECT_EQ(windows_.closeRequests, std::vector<HWND>{unreadable_});
}

}  // namespace
}  // namespace hc
