#include <gtest/gtest.h>

#include "HotkeyDoubles.h"
#include "hotkeys/AppHotkey.h"

namespace hc {
namespace {

const HWND kOwner = reinterpret_cast<HWND>(0x1234);

class AppHotkeyTest : public ::testing::Test {
protected:
    hctest::FakeHotkeyService service_;
    std::vector<KeyCombination> refused_;
    AppHotkey hotkey_{service_, kOwner, 0x6074};  // Shift+Ctrl+F5

    void SetUp() override {
        hotkey_.SetFailedHandler([this](KeyCombination keys) { refused_.push_back(keys); });
    }
};

TEST_F(AppHotkeyTest, EachActivationRegistersUnderTheNextIdAndAPressOfThatIdRunsTheAction) {
    int presses = 0;
    hotkey_.SetAction([&](AppHotkey& source) { presses += &source == &hotkey_; });
    hotkey_.Activate();
    hotkey_.Activate();
    ASSERT_EQ(service_.registerCalls, 1);
    EXPECT_TRUE(service_.Holds(MOD_SHIFT | MOD_CONTROL, VK_F5));
    const int first = hotkey_.Id();
    EXPECT_EQ(first, 1);  // 0 is never an id
    EXPECT_FALSE(hotkey_.HandleHotkeyMessage(first + 1));
    EXPECT_TRUE(hotkey_.HandleHotkeyMessage(first));
    EXPECT_EQ(presses, 1);

    hotkey_.Deactivate();
    EXPECT_TRUE(service_.held.empty());
    EXPECT_FALSE(hotkey_.HandleHotkeyMessage(first));
    hotkey_.Activate();
    AppHotkey other(service_, kOwner, 0x4041);
    other.Activate();
    EXPECT_EQ(hotkey_.Id(), first + 1);
    EXPECT_EQ(other.Id(), first + 2);
}

TEST_F(AppHotkeyTest, ARefusalOrAMissingKeyGoesToTheHandlerAndLeavesItInactive) {
    service_.taken.insert({MOD_SHIFT | MOD_CONTROL, VK_F5});
    hotkey_.Activate();
    EXPECT_FALSE(hotkey_.Active());
    hotkey_.SetCombination(0x4000);  // modifiers alone: the system is not even asked
    hotkey_.Activate();
    EXPECT_EQ(service_.registerCalls, 1);
    EXPECT_EQ(refused_, (std::vector<KeyCombination>{0x6074, 0x4000}));
}

TEST_F(AppHotkeyTest, ANewCombinationIsRegisteredAtOnceOnlyWhileActive) {
    hotkey_.SetCombination(0x4041);
    EXPECT_EQ(service_.registerCalls, 0);
    hotkey_.Activate();
    hotkey_.SetCombination(0x4042);
    EXPECT_TRUE(hotkey_.Active());
    EXPECT_FALSE(service_.Holds(MOD_CONTROL, 'A'));
    EXPECT_TRUE(service_.Holds(MOD_CONTROL, 'B'));
    service_.taken.insert({MOD_CONTROL, 'C'});
    hotkey_.SetCombination(0x4043);
    EXPECT_FALSE(hotkey_.Active());
    EXPECT_EQ(refused_, std::vector<KeyCombination>{0x4043});
    {
        AppHotkey temporary(service_, kOwner, 0x4044);
        temporary.Activate();
    }
    EXPECT_TRUE(service_.held.empty());  // unregistered when it goes
}

}  // namespace
}  // namespace hc
