#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Hotkeys.h"

namespace hc {

// A key with its modifiers: bits 0-7 the virtual-key code, then Shift, Ctrl and Alt. 0 is no key.
using KeyCombination = std::uint16_t;

inline constexpr KeyCombination kShiftBit = 0x2000;
inline constexpr KeyCombination kCtrlBit = 0x4000;
inline constexpr KeyCombination kAltBit = 0x8000;

// The keyboard layout's name for a key code without a fixed name; empty when there is none.
using LayoutNameLookup = std::wstring (*)(std::uint8_t virtualKey);

// The name of the key alone ("Space", "F5", "A"), empty when the key has none.
std::wstring KeyName(std::uint8_t virtualKey, LayoutNameLookup layoutName = &LayoutKeyName);

// "Shift+Ctrl+Alt+Key", modifiers always in that order; empty when the key has no name.
std::wstring CombinationToText(KeyCombination combination, LayoutNameLookup layoutName = &LayoutKeyName);

// Reads what CombinationToText writes, also "^" for Ctrl, modifiers in any order and case; 0 when unreadable.
KeyCombination TextToCombination(std::wstring_view text, LayoutNameLookup layoutName = &LayoutKeyName);

// What RegisterHotKey takes: the MOD_* mask and the virtual-key code.
UINT ModifierMask(KeyCombination combination);
UINT VirtualKey(KeyCombination combination);

// The hotkey control's value: low byte the key, high byte HOTKEYF_* flags.
WORD CombinationToControlValue(KeyCombination combination);
KeyCombination ControlValueToCombination(WORD value);

}  // namespace hc
