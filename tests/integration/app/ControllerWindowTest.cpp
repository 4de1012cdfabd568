#include <gtest/gtest.h>

#include "Doubles.h"
#include "HotkeyDoubles.h"
#include "TestSupport.h"
#include "app/ControllerWindow.h"
#include "hotkeys/AppHotkey.h"

namespace hc {
namespace {

// Real registrations, but every atom added is a new one, as the system's table may give after a delete: the
// dispatcher must learn the new ids, or the keys stop working.
class FreshAtomService : public HotkeyService {
public:
    bool Register(HWND owner, int id, UINT modifiers, UINT key) override {
        return real_.Register(owner, id, modifiers, key);
    }
    DWORD LastError() const override { return real_.LastError(); }
    void Unregister(HWND owner, int id) override { real_.Unregister(owner, id); }
    ATOM AddGlobalAtom(const wchar_t*) override { return next_++; }
    void DeleteGlobalAtom(ATOM) override {}

private:
    Win32HotkeyService real_;
    ATOM next_ = 0xC100;
};

class ControllerWindowTest : public ::testing::Test {
protected:
    hctest::CallLog log_;
    Win32WindowSystem windows_;
    hctest::EngineRig rig_{windows_, log_};
    FreshAtomService hotkeys_;
    hctest::RecordingMessages messages_;
    int dialogsOpened_ = 0;
    int stealthPresses_ = 0;

    std::unique_ptr<TForm2> MakeController() {
        return std::make_unique<TForm2>(
            hotkeys_, messages_, rig_.dispatcher, [&] { ++dialogsOpened_; }, [&] { ++stealthPresses_; });
    }
    static bool Taken(UINT modifiers, UINT key) {
        if (!RegisterHotKey(nullptr, 77, modifiers, key)) return true;
        UnregisterHotKey(nullptr, 77);
        return false;
    }
};

TEST_F(ControllerWindowTest, TwoReleasesAndRegistrationsInARowLeaveTheDefaultPairWorkingUntilTheEnd) {
    hctest::WindowHelper helper;
    HWND window = helper.Open(L"Tax return");
    {
        auto controller = MakeController();
        for (int round = 0; round < 2; ++round) {
            controller->ReleaseHotKeys();
            EXPECT_FALSE(Taken(MOD_CONTROL, VK_SPACE));
            EXPECT_TRUE(controller->RegisterHotKeys());
        }
        hctest::PressKeys({VK_CONTROL}, VK_SPACE);
        EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(window); }));
        hctest::PressKeys({VK_CONTROL}, VK_BACK);
        EXPECT_TRUE(hctest::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
        EXPECT_TRUE(messages_.shown.empty());
    }
    // The pair goes with the controller.
    EXPECT_FALSE(Taken(MOD_CONTROL, VK_SPACE));
    EXPECT_FALSE(Taken(MOD_CONTROL, VK_BACK));
}

TEST_F(ControllerWindowTest, TheStealthHotkeyIsRegisteredOnDemandAndDoesNothingElse) {
    auto controller = MakeController();
    EXPECT_FALSE(controller->hkStealth().Active());
    EXPECT_FALSE(Taken(MOD_SHIFT | MOD_ALT, VK_BACK));
    controller->ActivateStealthHotkey();
    EXPECT_TRUE(Taken(MOD_SHIFT | MOD_ALT, VK_BACK));
    hctest::PressKeys({VK_SHIFT, VK_MENU}, VK_BACK);
    EXPECT_TRUE(hctest::WaitUntil([&] { return stealthPresses_ == 1; }));
    EXPECT_TRUE(log_.empty());  // the dispatcher saw an id that is neither atom
}

}  // namespace
}  // namespace hc
