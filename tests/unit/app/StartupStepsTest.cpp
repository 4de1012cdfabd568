#include <gtest/gtest.h>

#include <string>

#include "app/StartupSteps.h"
#include "engine/WindowRules.h"

namespace hc {
namespace {

TEST(StartupSteps, RunOneAtATimeInOrderAndAStepThatMustWaitSaysHowLong) {
    DWORD now = 1000;
    StartupSteps steps([&] { return now; });
    std::wstring ran;
    steps.Add([&] { ran += L"a"; });
    steps.Add([&] { ran += L"b"; }, [] { return DWORD{1500}; });
    steps.Add([&] {
        ran += L"c";
        steps.Add([&] { ran += L"d"; });  // a step may leave more work behind it
    });
    EXPECT_EQ(steps.RunDue(), 0u);
    EXPECT_EQ(ran, L"a");
    EXPECT_EQ(steps.RunDue(), 500u);  // not yet: the loop may sleep this long, and nothing behind it overtakes
    EXPECT_EQ(ran, L"a");
    now = 1500;
    EXPECT_EQ(steps.RunDue(), 0u);
    EXPECT_EQ(steps.RunDue(), 0u);
    EXPECT_EQ(steps.RunDue(), INFINITE);
    EXPECT_EQ(ran, L"abcd");
    EXPECT_TRUE(steps.Done());
    EXPECT_EQ(steps.RunDue(), INFINITE);
}

TEST(StartupSteps, AWaitAcrossTheTickCountsWrapIsStillAWait) {
    DWORD now = 0xFFFFFF00u;
    StartupSteps steps([&] { return now; });
    bool ran = false;
    steps.Add([&] { ran = true; }, [] { return DWORD{0x100}; });
    EXPECT_EQ(steps.RunDue(), 0x200u);
    EXPECT_FALSE(ran);
    now = 0x100;
    EXPECT_EQ(steps.RunDue(), INFINITE);
    EXPECT_TRUE(ran);
}

TEST(StartupSteps, AStepThatWaitsForOtherWorkHoldsBackTheStepsBehindItAndTheLoopAsksAgainSoon) {
    StartupSteps steps([] { return DWORD{1000}; });
    bool ready = false;
    std::wstring ran;
    steps.AddWhenReady([&] { ran += L"a"; }, [&] { return ready; });
    steps.Add([&] { ran += L"b"; });
    EXPECT_EQ(steps.RunDue(), StartupSteps::kReadyPollMs);
    EXPECT_EQ(ran, L"");
    ready = true;
    EXPECT_EQ(steps.RunDue(), 0u);
    EXPECT_EQ(steps.RunDue(), INFINITE);
    EXPECT_EQ(ran, L"ab");
}

TEST(ProcessDisplayName, NamesTheTwoSystemProcessesThatHaveNoImage) {
    EXPECT_EQ(ProcessDisplayName(0, L""), L"System Idle Process");
    EXPECT_EQ(ProcessDisplayName(4, L""), L"System Process");
    EXPECT_EQ(ProcessDisplayName(4, L"C:\\x.exe"), L"C:\\x.exe");
    EXPECT_EQ(ProcessDisplayName(812, L""), L"");
}

}  // namespace
}  // namespace hc
