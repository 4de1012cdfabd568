#include <gtest/gtest.h>

#include "Doubles.h"
#include "TestSupport.h"
#include "panic/PanicButton.h"

namespace hc {
namespace {

class PanicButtonTest : public ::testing::Test {
protected:
    hctest::CallLog log_;
    Win32WindowSystem windows_;
    hctest::EngineRig rig_{windows_, log_};
    int exits_ = 0;
    std::unique_ptr<TPanic_f> panic_ =
        std::make_unique<TPanic_f>(rig_.settings, rig_.dispatcher, rig_.engine, nullptr, [&] { ++exits_; });

    void Command(int id) { SendMessageW(panic_->Window(), WM_COMMAND, id, 0); }
    BYTE Opacity() {
        BYTE alpha = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetLayeredWindowAttributes(panic_->Window(), nullptr, &alpha, &flags));
        EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
        return alpha;
    }
};

TEST_F(PanicButtonTest, TheSliderPositionsGiveTheirOpacitiesAndActivationAppliesTheModelsPosition) {
    for (auto [position, alpha] : {std::pair{0, 255}, {1, 230}, {5, 128}, {10, 0}}) {
        panic_->SetTransparency(position);
        EXPECT_EQ(Opacity(), alpha) << position;
    }
    EXPECT_EQ(rig_.settings.jvTransparency, 10);
    rig_.settings.jvTransparency = 5;
    SendMessageW(panic_->Window(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(Opacity(), 128);
}

TEST_F(PanicButtonTest, RestoreHiddenWindowsAsksForTheRequiredPasswordFirst) {
    hctest::WindowHelper helper;
    HWND window = helper.Open(L"Payslip");
    rig_.shell.lastActive = window;
    rig_.engine.DoHideActiveWindows(Sender::PanicButton, 0);
    ASSERT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(window); }));
    rig_.settings.cbPassword = true;
    rig_.prompt.answer = false;
    Command(TPanic_f::kIdRestorehiddenwindows1);
    EXPECT_EQ(rig_.prompt.owners, std::vector<HWND>{panic_->Window()});
    EXPECT_EQ(rig_.engine.Hidden().size(), 1u);
    rig_.prompt.answer = true;
    Command(TPanic_f::kIdRestorehiddenwindows1);
    EXPECT_TRUE(hctest::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_TRUE(rig_.engine.Hidden().empty());
}

TEST_F(PanicButtonTest, MovingTicksTheItemAndTheModelFollowsThePositionHidingAndExitAreReported) {
    std::vector<std::wstring> items;
    for (int i = 0; i < GetMenuItemCount(panic_->PopupMenu1()); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(panic_->PopupMenu1(), i, text, 64, MF_BYPOSITION);
        items.push_back(text);
    }
    EXPECT_EQ(items, (std::vector<std::wstring>{L"Change Description", L"Move to new location", L"Open main window",
                                                L"", L"Restore hidden windows", L"", L"Hide the Panic button",
                                                L"Close Hushcloak Privacy"}));
    Command(TPanic_f::kIdMoveBTn);
    EXPECT_TRUE(GetMenuState(panic_->PopupMenu1(), TPanic_f::kIdMoveBTn, MF_BYCOMMAND) & MF_CHECKED);
    SetWindowPos(panic_->Window(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(rig_.settings.PanicLeft, 300);
    EXPECT_EQ(rig_.settings.PanicTop, 200);
    Command(TPanic_f::kIdMoveBTn);
    EXPECT_FALSE(GetMenuState(panic_->PopupMenu1(), TPanic_f::kIdMoveBTn, MF_BYCOMMAND) & MF_CHECKED);

    std::vector<bool> changes;
    panic_->OnShownChanged([&](bool shown) { changes.push_back(shown); });
    Command(TPanic_f::kIdClose1);
    EXPECT_FALSE(panic_->IsShown());
    panic_->Show();
    EXPECT_TRUE(panic_->IsShown());
    EXPECT_EQ(changes, (std::vector<bool>{false, true}));
    Command(TPanic_f::kIdCloseHushcloakPrivacy1);
    EXPECT_EQ(exits_, 1);
}

TEST_F(PanicButtonTest, TheLastActiveWindowIsAnotherProgramsWindowSeenWhileTheActionNeedsIt) {
    hctest::WindowHelper helper;
    HWND first = helper.Open(L"Chat");
    HWND second = helper.Open(L"Forum");
    auto announce = [](HWND window) { NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF); };
    rig_.settings.Action = 0;
    announce(first);
    hctest::WaitUntil([] { return false; }, 200);
    EXPECT_EQ(panic_->LastActiveHandle(), nullptr);
    rig_.settings.Action = 1;
    announce(first);
    ASSERT_TRUE(hctest::WaitUntil([&] { return panic_->LastActiveHandle() == first; }));
    announce(panic_->Window());  // one of ours
    panic_->DetachIdleHandler();
    announce(second);
    hctest::WaitUntil([] { return false; }, 200);
    EXPECT_EQ(panic_->LastActiveHandle(), first);
    panic_->AttachIdleHandler();
    rig_.settings.Action = 3;
    announce(second);
    EXPECT_TRUE(hctest::WaitUntil([&] { return panic_->LastActiveHandle() == second; }));

    // Inside a message box's modal loop the events still arrive. The timer runs in that loop and ends the box
    // once the window is recorded, or after about two seconds.
    struct Probe {
        HWND window;
        TPanic_f* panic;
        int ticks = 0;
        bool recorded = false;
    };
    static Probe* probe;
    Probe state{first, panic_.get()};
    probe = &state;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, probe->window, OBJID_WINDOW, CHILDID_SELF);
        probe->recorded = probe->recorded || probe->panic->LastActiveHandle() == probe->window;
        if (probe->recorded || ++probe->ticks > 100)
            if (HWND box = FindWindowW(L"#32770", L"Modal loop")) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    MessageBoxW(nullptr, L"Waiting for the foreground event", L"Modal loop", MB_OK);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(state.recorded);
}

}  // namespace
}  // namespace hc
