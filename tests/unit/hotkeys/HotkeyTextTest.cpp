#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "hotkeys/HotkeyText.h"
#include "settings/Settings.h"

namespace hc {
namespace {

// A layout naming a few keys: one with a plus sign, one "^", one that repeats a fixed name (0x0D wins).
std::wstring FakeLayout(std::uint8_t key) {
    switch (key) {
        case 0x6B:
            return L"Num +";
        case 0xBA:
            return L";";
        case 0xDC:
            return L"^";
        case 0xDD:
            return L"Enter";
        default:
            return L"";
    }
}
KeyCombination Read(std::wstring_view text) { return TextToCombination(text, &FakeLayout); }
std::wstring Write(KeyCombination keys) { return CombinationToText(keys, &FakeLayout); }

TEST(HotkeyText, WritesModifiersInShiftCtrlAltOrderAndEveryFixedName) {
    EXPECT_EQ(Write(0x4020), L"Ctrl+Space");
    EXPECT_EQ(Write(0xA008), L"Shift+Alt+BkSp");
    EXPECT_EQ(Write(0x6074), L"Shift+Ctrl+F5");
    EXPECT_EQ(Write(0xE0BA), L"Shift+Ctrl+Alt+;");
    for (KeyCombination none : {0x0000, 0x4000, 0x40FF, 0x402F}) EXPECT_EQ(Write(none), L"") << none;
    const wchar_t* names =
        L"BkSp Tab Enter Esc Space PgUp PgDn End Home Left Up Right Down Ins Del "
        L"0 9 A Z 0 9 F1 F12 F24";
    const std::uint8_t codes[] = {0x08, 0x09, 0x0D, 0x1B, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27,
                                  0x28, 0x2D, 0x2E, 0x30, 0x39, 0x41, 0x5A, 0x60, 0x69, 0x70, 0x7B, 0x87};
    std::wstring written;
    for (std::uint8_t code : codes) written += KeyName(code, &FakeLayout) + L" ";
    EXPECT_EQ(written, std::wstring(names) + L" ");
}

TEST(HotkeyText, ReadsAnyCaseCaretAndModifiersInAnyOrder) {
    for (const wchar_t* text : {L"CTRL+SPACE", L"cTrL+sPaCe", L"^Space", L"Ctrl+^space"})
        EXPECT_EQ(Read(text), 0x4020) << text;
    EXPECT_EQ(Read(L"^H"), 0x4048);
    EXPECT_EQ(Write(Read(L"Alt+Ctrl+X")), L"Ctrl+Alt+X");
    EXPECT_EQ(Read(L"Ctrl+BkSp"), 0x4008);
    EXPECT_EQ(Read(L"Ctrl+7"), 0x4037);  // the main row, never the keypad
    EXPECT_EQ(Read(L"Ctrl+Num +"), 0x406B);
    EXPECT_EQ(Read(L"Ctrl+^"), 0x40DC);  // the key named "^", not a second Ctrl
    EXPECT_EQ(TextToCombination(L"Ctrl+^", [](std::uint8_t) { return std::wstring(); }), 0);
    for (const wchar_t* text :
         {L"", L"Ctrl+", L"Shift+Alt+", L"Ctrl+Nonsense", L"CTRL+BACKSPACE", L"Ctrl+Space+", L" Ctrl+Space", L"F25"})
        EXPECT_EQ(Read(text), 0) << text;
}

TEST(HotkeyText, EveryNamedKeyWithEveryModifierSetReadsBackAsWritten) {
    for (unsigned key = 0; key <= 0xFF; ++key) {
        for (unsigned modifiers = 0; modifiers <= 0xE000; modifiers += 0x2000) {
            const auto keys = static_cast<KeyCombination>(modifiers | key);
            if (Write(keys).empty()) continue;
            const unsigned sameName = key >= 0x60 && key <= 0x69 ? key - 0x30 : key == 0xDD ? 0x0D : key;
            EXPECT_EQ(Read(Write(keys)), modifiers | sameName) << std::hex << keys;
        }
    }
    // The real layout; below code 8 only Break is named, and Windows names it like Scroll Lock.
    for (unsigned key = 8; key <= 0xFF; ++key) {
        const std::wstring text = CombinationToText(static_cast<KeyCombination>(0x4000 | key));
        if (!text.empty()) {
            EXPECT_EQ(CombinationToText(TextToCombination(text)), text) << std::hex << key;
        }
    }
    EXPECT_EQ(TextToCombination(kDefaultHideText), 0x4020);
}

TEST(HotkeyText, ConvertsToTheHotkeyControlAndRegistrationFormats) {
    EXPECT_EQ(CombinationToControlValue(0xE074), MAKEWORD(VK_F5, HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT));
    EXPECT_EQ(CombinationToControlValue(0x4024), MAKEWORD(VK_HOME, HOTKEYF_CONTROL | HOTKEYF_EXT));
    EXPECT_EQ(ControlValueToCombination(MAKEWORD(VK_HOME, HOTKEYF_ALT | HOTKEYF_EXT)), 0x8024);
    EXPECT_EQ(ControlValueToCombination(MAKEWORD(VK_F5, HOTKEYF_SHIFT | HOTKEYF_CONTROL)), 0x6074);
    EXPECT_EQ(ModifierMask(0xE074), static_cast<UINT>(MOD_SHIFT | MOD_CONTROL | MOD_ALT));
    EXPECT_EQ(ModifierMask(0x2041), static_cast<UINT>(MOD_SHIFT));
}

}  // namespace
}  // namespace hc
