#include "hotkeys/HotkeyText.h"

#include <commctrl.h>

#include <array>
#include <utility>

namespace hc {

namespace {
struct FixedName {
    std::uint8_t code;
    const wchar_t* name;
};
constexpr FixedName kFixedNames[] = {{0x08, L"BkSp"},  {0x09, L"Tab"},  {0x0D, L"Enter"}, {0x1B, L"Esc"},
                                     {0x20, L"Space"}, {0x21, L"PgUp"}, {0x22, L"PgDn"},  {0x23, L"End"},
                                     {0x24, L"Home"},  {0x25, L"Left"}, {0x26, L"Up"},    {0x27, L"Right"},
                                     {0x28, L"Down"},  {0x2D, L"Ins"},  {0x2E, L"Del"}};

constexpr std::array<std::pair<const wchar_t*, KeyCombination>, 4> kPrefixes{
    {{L"Shift+", kShiftBit}, {L"^", kCtrlBit}, {L"Ctrl+", kCtrlBit}, {L"Alt+", kAltBit}}};

constexpr std::uint8_t kFirstNamedKey = 0x08;

// The navigation keys the hotkey control shows by their own names only with its extended flag.
bool IsExtendedKey(std::uint8_t key) {
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_DIVIDE;
}
}  // namespace

std::wstring KeyName(std::uint8_t key, LayoutNameLookup layoutName) {
    for (const auto& [code, name] : kFixedNames)
        if (code == key) return name;
    if (key >= '0' && key <= '9') return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= 'A' && key <= 'Z') return std::wstring(1, static_cast<wchar_t>(key));
    // The keypad digits share the main row's names, so a read-back text always means the main row.
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return std::wstring(1, static_cast<wchar_t>(L'0' + key - VK_NUMPAD0));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    return layoutName ? layoutName(key) : std::wstring();
}

std::wstring CombinationToText(KeyCombination combination, LayoutNameLookup layoutName) {
    std::wstring name = KeyName(static_cast<std::uint8_t>(combination & 0xFF), layoutName);
    if (name.empty()) return {};
    std::wstring text;
    if (combination & kShiftBit) text += L"Shift+";
    if (combination & kCtrlBit) text += L"Ctrl+";
    if (combination & kAltBit) text += L"Alt+";
    return text + name;
}

KeyCombination TextToCombination(std::wstring_view text, LayoutNameLookup layoutName) {
    KeyCombination modifiers = 0;
    for (bool removed = true; removed;) {
        removed = false;
        for (const auto& [prefix, bit] : kPrefixes) {
            const std::wstring_view prefixText(prefix);
            // A prefix that is the whole rest is the key itself: some layouts name a key "^".
            if (text.size() > prefixText.size() && TextStartsWithIgnoringCase(text, prefixText)) {
                modifiers |= bit;
                text.remove_prefix(prefixText.size());
                removed = true;
                break;
            }
        }
    }
    if (text.empty()) return 0;
    for (unsigned key = kFirstNamedKey; key <= 0xFF; ++key) {
        const std::wstring name = KeyName(static_cast<std::uint8_t>(key), layoutName);
        if (!name.empty() && TextEqualsIgnoringCase(text, name)) return static_cast<KeyCombination>(modifiers | key);
    }
    return 0;
}

UINT ModifierMask(KeyCombination combination) {
    UINT mask = 0;
    if (combination & kShiftBit) mask |= MOD_SHIFT;
    if (combination & kCtrlBit) mask |= MOD_CONTROL;
    if (combination & kAltBit) mask |= MOD_ALT;
    return mask;
}

UINT VirtualKey(KeyCombination combination) { return combination & 0xFF; }

WORD CombinationToControlValue(KeyCombination combination) {
    const auto key = static_cast<std::uint8_t>(combination & 0xFF);
    BYTE flags = 0;
    if (combination & kShiftBit) flags |= HOTKEYF_SHIFT;
    if (combination & kCtrlBit) flags |= HOTKEYF_CONTROL;
    if (combination & kAltBit) flags |= HOTKEYF_ALT;
    if (IsExtendedKey(key)) flags |= HOTKEYF_EXT;
    return MAKEWORD(key, flags);
}

KeyCombination ControlValueToCombination(WORD value) {
    const BYTE flags = HIBYTE(value);
    KeyCombination combination = LOBYTE(value);
    if (flags & HOTKEYF_SHIFT) combination |= kShiftBit;
    if (flags & HOTKEYF_CONTROL) combination |= kCtrlBit;
    if (flags & HOTKEYF_ALT) combination |= kAltBit;
    return combination;
}

}  // namespace hc
