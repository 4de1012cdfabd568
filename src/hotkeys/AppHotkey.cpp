#include "hotkeys/AppHotkey.h"

namespace hc {

AppHotkey::AppHotkey(HotkeyService& service, HWND owner, KeyCombination combination)
    : service_(service), owner_(owner), combination_(combination) {}

AppHotkey::~AppHotkey() { Deactivate(); }

void AppHotkey::Activate() {
    if (active_) return;
    id_ = service_.NewId();
    // No key is nothing to register: asking anyway would claim a hotkey on modifiers alone, or on nothing.
    const bool accepted = VirtualKey(combination_) != 0 &&
                          service_.Register(owner_, id_, ModifierMask(combination_), VirtualKey(combination_));
    if (accepted) {
        active_ = true;
    } else if (failed_) {
        failed_(combination_);
    }
}

void AppHotkey::Deactivate() {
    if (!active_) return;
    service_.Unregister(owner_, id_);
    active_ = false;
}

void AppHotkey::SetCombination(KeyCombination combination) {
    if (combination == combination_) return;
    if (!active_) {
        combination_ = combination;
        return;
    }
    Deactivate();
    combination_ = combination;
    Activate();
}

bool AppHotkey::HandleHotkeyMessage(WPARAM id) {
    if (!active_ || id != static_cast<WPARAM>(id_)) return false;
    // A copy: the action may replace this hotkey's action while it runs.
    if (Action action = action_) action(*this);
    return true;
}

}  // namespace hc
