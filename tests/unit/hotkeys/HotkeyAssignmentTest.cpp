#include <gtest/gtest.h>

#include "HotkeyDoubles.h"
#include "hotkeys/HotkeyAssignment.h"

namespace hc {
namespace {

using Shown = hctest::RecordingMessages::Shown;

const HWND kDialog = reinterpret_cast<HWND>(0x4321);
constexpr UINT kWarning = MB_OK | MB_TASKMODAL | MB_ICONWARNING;
constexpr UINT kOwnedError = MB_OK | MB_ICONERROR | MB_TASKMODAL;

Shown RegistrationFailed(const std::wstring& keys) {
    return {kDialog, L"Failed to register selected hotkeys " + keys + L"Select different combination", L"Error",
            kOwnedError};
}

class HotkeyAssignmentTest : public ::testing::Test {
protected:
    hctest::FakeHotkeyService service_;
    hctest::RecordingMessages messages_;
    Settings settings_;
    AppHotkey hide_{service_, kDialog};
    AppHotkey unhide_{service_, kDialog};
    std::vector<Sender> pressed_;
    HotkeyAssignment assignment_{settings_, messages_, hide_, unhide_, [this](Sender s) { pressed_.push_back(s); }};
};

TEST_F(HotkeyAssignmentTest, StartUpRegistersStoredKeysOnlyWhenTheDefaultsAreOffAndReportsRefusals) {
    EXPECT_FALSE(assignment_.KeysToRestore().has_value());
    settings_.UseDefaultKeys = false;
    settings_.edHide = L"^h";
    settings_.edUnHide = L"alt+ctrl+u";
    service_.taken.insert({MOD_CONTROL | MOD_ALT, 'U'});
    assignment_.Restore(*assignment_.KeysToRestore());
    EXPECT_EQ(settings_.edHide, L"Ctrl+H");
    EXPECT_EQ(settings_.edUnHide, L"Ctrl+Alt+U");
    EXPECT_FALSE(unhide_.Active());
    EXPECT_EQ(messages_.shown, std::vector<Shown>{RegistrationFailed(L"Ctrl+Alt+U")});
    hide_.HandleHotkeyMessage(hide_.Id());
    EXPECT_EQ(pressed_, std::vector<Sender>{Sender::AppHkHide});
}

TEST_F(HotkeyAssignmentTest, AStoredTextThatNamesNoKeyIsLeftAloneWithoutAnyMessage) {
    // The stored default texts do not read back; that role simply keeps its default key.
    settings_.UseDefaultKeys = false;
    settings_.edHide = L"Ctrl+H";
    settings_.edUnHide = L"CTRL+BACKSPACE";
    assignment_.Restore(*assignment_.KeysToRestore());
    EXPECT_TRUE(hide_.Active());
    EXPECT_FALSE(unhide_.Active());
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(settings_.edUnHide, L"");
}

TEST_F(HotkeyAssignmentTest, ASuccessfulTestTakesTheKeysAndSaysSo) {
    assignment_.TestHide(0x4041);
    assignment_.TestHide(0x6074);
    EXPECT_EQ(service_.registerCalls, 2);
    EXPECT_FALSE(settings_.UseDefaultKeys);
    EXPECT_EQ(settings_.edHide, L"Shift+Ctrl+F5");
    EXPECT_TRUE(assignment_.TestedHide());
    EXPECT_FALSE(assignment_.TestedUnHide());
    EXPECT_EQ(messages_.shown.back(), (Shown{nullptr, L"Successfully assigned \"Shift+Ctrl+F5\"", L"Information",
                                             MB_OK | MB_TASKMODAL | MB_ICONINFORMATION}));
}

TEST_F(HotkeyAssignmentTest, ARefusedTestReportsOnceThenFallsBackToTheDefaults) {
    const std::wstring refused = L"\" is not available. Try a different combination. ";
    const struct {
        void (HotkeyAssignment::*test)(KeyCombination);
        KeyCombination keys;
        std::wstring text;
    } sides[] = {
        {&HotkeyAssignment::TestHide, 0x4048,
         L"Newly assigned Hotkey \"Ctrl+H" + refused +
             L"If you are having problems use the \"Default\" option instead."},
        {&HotkeyAssignment::TestUnhide, 0x4055,
         L"Newly assigned Hotkey \"Ctrl+U" + refused + L"Hushcloak Privacy is using \"Default\" option instead."}};
    service_.taken = {{MOD_CONTROL, 'H'}, {MOD_CONTROL, 'U'}};
    for (const auto& side : sides) {
        assignment_.TestHide(0x4041);
        assignment_.TestUnhide(0x4042);
        messages_.shown.clear();
        (assignment_.*side.test)(side.keys);
        EXPECT_EQ(messages_.shown, (std::vector<Shown>{RegistrationFailed(side.keys == 0x4048 ? L"Ctrl+H" : L"Ctrl+U"),
                                                       {nullptr, side.text, L"Warning", kWarning}}));
        EXPECT_TRUE(settings_.UseDefaultKeys);
        EXPECT_EQ(settings_.edHide, L"CTRL+SPACE");
        EXPECT_EQ(settings_.edUnHide, L"CTRL+BACKSPACE");
        EXPECT_TRUE(service_.held.empty());
        EXPECT_TRUE(assignment_.TestedHide() && assignment_.TestedUnHide());
    }
}

TEST_F(HotkeyAssignmentTest, ApplyNeedsDifferentKeysTestedSinceShowingAndSinceTheLastEdit) {
    const Shown same{kDialog, L"Cannot assign same hotkeys for both events.", L"Hushcloak Privacy", kOwnedError};
    const Shown untested{nullptr, L"Please test the assigned Hotkeys before continuing", L"Warning", kWarning};
    assignment_.TestHide(0x4048);
    EXPECT_FALSE(assignment_.MayApply({0x4048, 0x4055}));
    assignment_.TestUnhide(0x4055);
    messages_.shown.clear();
    EXPECT_FALSE(assignment_.MayApply({0x4048, 0x4048}));
    EXPECT_TRUE(assignment_.MayApply({0x4048, 0x4055}));
    assignment_.UnhideKeysEdited();
    EXPECT_FALSE(assignment_.MayApply({0x4048, 0x4056}));
    assignment_.UseDefaults();
    EXPECT_TRUE(assignment_.MayApply({0x4048, 0x4056}));
    assignment_.Shown();
    EXPECT_FALSE(assignment_.MayApply({0x4048, 0x4055}));
    EXPECT_EQ(messages_.shown, (std::vector<Shown>{same, untested, untested}));
}

}  // namespace
}  // namespace hc
