#include <gtest/gtest.h>

#include <algorithm>

#include "HotkeyDoubles.h"
#include "hotkeys/DefaultHotkeys.h"
#include "hotkeys/HotkeyAssignment.h"

namespace hc {
namespace {

const HWND kController = reinterpret_cast<HWND>(0x1234);
const HWND kDialog = reinterpret_cast<HWND>(0x4321);
constexpr KeyCombination kCtrlSpace = 0x4020;
constexpr KeyCombination kCtrlH = 0x4048;

// The default pair on the controller and the user's own keys on the dialog, sharing one hotkey service as the
// program's two windows share the system's.
class OwnKeysTest : public ::testing::Test {
protected:
    hctest::FakeHotkeyService service_;
    hctest::RecordingMessages messages_;
    Settings settings_;
    DefaultHotkeys defaults_{service_, kController};
    AppHotkey hide_{service_, kDialog};
    AppHotkey unhide_{service_, kDialog};
    HotkeyAssignment assignment_{
        settings_, messages_, hide_,
        unhide_,   {},        [this](HotkeyPair keys) { defaults_.StandAsideFor(keys.hide, keys.unhide); }};

    void RestoreOwnKeys(const wchar_t* hide, const wchar_t* unhide) {
        settings_.UseDefaultKeys = false;
        settings_.edHide = hide;
        settings_.edUnHide = unhide;
        assignment_.Restore(*assignment_.KeysToRestore());
        EXPECT_TRUE(messages_.shown.empty());
        EXPECT_TRUE(hide_.Active());
    }
    void ExpectDefaultsHeld(bool hide, bool unhide) const {
        EXPECT_EQ(defaults_.HideKeyRegistered(), hide);
        EXPECT_EQ(defaults_.UnhideKeyRegistered(), unhide);
    }
    bool DialogHolds(UINT key) const {
        return std::any_of(service_.held.begin(), service_.held.end(), [&](const auto& r) {
            return r.owner == kDialog && r.modifiers == MOD_CONTROL && r.key == key;
        });
    }
};

TEST_F(OwnKeysTest, StoredKeysEqualToTheDefaultsTakeTheirPlaceWithoutABox) {
    ASSERT_TRUE(defaults_.RegisterHotKeys());
    RestoreOwnKeys(L"CTRL+SPACE", L"CTRL+BACKSPACE");  // the second names no key: unhide keeps its default
    EXPECT_TRUE(DialogHolds(VK_SPACE));
    ExpectDefaultsHeld(false, true);

    // A theme change registers the pair again: still no competing for Ctrl+Space.
    defaults_.ReleaseHotKeys();
    EXPECT_TRUE(defaults_.RegisterHotKeys());
    EXPECT_FALSE(defaults_.HideKeyRegistered());

    // Back to the defaults: the default hide key returns.
    assignment_.UseDefaults();
    ExpectDefaultsHeld(true, true);
    EXPECT_FALSE(DialogHolds(VK_SPACE));
}

TEST_F(OwnKeysTest, ADefaultThatTheOtherRolesOwnKeyUsesIsNotRegistered) {
    ASSERT_TRUE(defaults_.RegisterHotKeys());
    RestoreOwnKeys(L"Ctrl+BkSp", L"Ctrl+Space");
    EXPECT_TRUE(unhide_.Active());
    ExpectDefaultsHeld(false, false);

    // The unhide role's own Ctrl+Space keeps the default hide key away even while hide has no key of its own.
    hide_.Deactivate();
    defaults_.StandAsideFor(0, kCtrlSpace);
    ExpectDefaultsHeld(false, false);
    unhide_.Deactivate();
    defaults_.StandAsideFor(kCtrlH, 0);
    ExpectDefaultsHeld(false, true);
}

TEST_F(OwnKeysTest, TestingADefaultCombinationSucceedsAndARefusedOwnKeyGivesTheDefaultBack) {
    ASSERT_TRUE(defaults_.RegisterHotKeys());
    assignment_.TestHide(kCtrlSpace);
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, L"Successfully assigned \"Ctrl+Space\"");
    EXPECT_TRUE(hide_.Active());
    EXPECT_FALSE(defaults_.HideKeyRegistered());

    // Somebody else holds Ctrl+H: the test fails, the dialog falls back to the defaults, and both return.
    messages_.shown.clear();
    service_.taken.insert({MOD_CONTROL, 'H'});
    assignment_.TestHide(kCtrlH);
    EXPECT_FALSE(hide_.Active());
    ExpectDefaultsHeld(true, true);
}

}  // namespace
}  // namespace hc
