#include <gtest/gtest.h>

#include <algorithm>

#include "CleanupSupport.h"
#include "HcProcess.h"
#include "TestSupport.h"

namespace hctest {
namespace {

class TaskManagerTest : public ::testing::Test {
protected:
    ScopedCleanKey key_;
    ScopedTaskManagerPolicy policy_;
    HcProcess hc_;

    void SetUp() override { key_.SetString(L"StartUp", L"Tray", L"1"); }
    void StartHc() {
        ASSERT_TRUE(hc_.Start());
        ASSERT_TRUE(hc_.WaitUntilStarted());
    }
};

TEST_F(TaskManagerTest, AKilledRunLeavesThePolicyAndTheNextStartRemovesIt) {
    StartHc();
    policy_.SetAsLeftByARun();  // what a panic with "Disable Task Manager" ticked writes
    ASSERT_TRUE(TerminateProcess(hc_.Process(), 1));
    ASSERT_TRUE(WaitUntil([&] { return !hc_.IsRunning(); }));
    EXPECT_EQ(TaskManagerPolicy(), L"1");
    StartHc();
    EXPECT_EQ(TaskManagerPolicy(), std::nullopt);
    EXPECT_EQ(TaskManagerPolicyRecord(), std::nullopt);
}

// Somebody else's policy (an administrator's, say) is theirs to remove: the start, an unticked panic and the exit
// all leave it.
TEST_F(TaskManagerTest, APolicySetBeforeAnyRunSurvivesTheStartAnUntickedPanicAndTheExit) {
    policy_.SetByOthers();
    WindowHelper helper;
    const HWND window = helper.Open(L"Quarterly figures");
    StartHc();
    EXPECT_EQ(TaskManagerPolicy(), L"1");
    PressKeys({VK_CONTROL}, VK_SPACE);
    // The switch is set before anything is hidden.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    EXPECT_EQ(TaskManagerPolicy(), L"1");
    EXPECT_FALSE(ProbeValueExists());
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    hc_.Stop();
    EXPECT_EQ(TaskManagerPolicy(), L"1");
}

TEST_F(TaskManagerTest, ExitAllowsTaskManagerAgain) {
    StartHc();
    policy_.SetAsLeftByARun();  // what a panic with the box ticked leaves
    hc_.Stop();
    EXPECT_EQ(TaskManagerPolicy(), std::nullopt);
    EXPECT_EQ(TaskManagerPolicyRecord(), std::nullopt);
    EXPECT_FALSE(ProbeValueExists());
}

}  // namespace
}  // namespace hctest
