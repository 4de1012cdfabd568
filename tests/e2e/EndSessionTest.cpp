#include <gtest/gtest.h>

#include "CleanupSupport.h"
#include "HcFixture.h"
#include "PanicDriver.h"

namespace hctest {
namespace {

bool JournalExists() {
    return RegGetValueW(HKEY_CURRENT_USER, L"HushCloak\\Recovery", L"HiddenWindows", RRF_RT_ANY, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

// At logoff the system sends the controller WM_QUERYENDSESSION and then WM_ENDSESSION, and ends the process soon
// after: what the user changed since the main window last closed must be stored by then.
class EndSessionTest : public HcFixture {
protected:
    ScopedTaskManagerPolicy policy_;
};

TEST_F(EndSessionTest, TheEndOfTheSessionSavesTheSettingsAllowsTheTaskManagerAndKeepsTheJournal) {
    key_.SetString(L"StartUp", L"HidePanic", L"0");
    const HWND work = helper_.Open(L"Unsent letter");
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    const HWND panic = WaitForPanicButton(hc_.ProcessId());
    ASSERT_NE(panic, nullptr);

    // The Panic Button moved and a panic with the Task Manager disabled: neither has been saved yet.
    ASSERT_TRUE(SetWindowPos(panic, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(WaitUntil([&] {
        RECT frame{};
        return GetWindowRect(panic, &frame) && frame.left == 123;
    }));
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(work); }));
    ASSERT_TRUE(JournalExists());
    policy_.SetAsLeftByARun();
    EXPECT_EQ(StoredString(L"StartUp", L"PanicLeft"), L"700");

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(hc_.Controller(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                    &answer));
    EXPECT_EQ(answer, TRUE) << "the program must not hold the logoff back";
    ASSERT_TRUE(SendMessageTimeoutW(hc_.Controller(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                    &answer));

    EXPECT_EQ(StoredString(L"StartUp", L"PanicLeft"), L"123");
    EXPECT_EQ(StoredString(L"StartUp", L"PanicTop"), L"77");
    EXPECT_EQ(StoredString(L"StartUp", L"AutoStart"), L"0");
    EXPECT_EQ(TaskManagerPolicy(), std::nullopt);
    EXPECT_EQ(TaskManagerPolicyRecord(), std::nullopt);
    // The windows die with the session; their journal stays for whatever can still match at the next start.
    EXPECT_FALSE(IsWindowVisible(work));
    ASSERT_TRUE(TerminateProcess(hc_.Process(), 1));
    ASSERT_TRUE(WaitUntil([&] { return !hc_.IsRunning(); }));
    EXPECT_TRUE(JournalExists());
    ShowWindow(work, SW_SHOW);
}

}  // namespace
}  // namespace hctest
