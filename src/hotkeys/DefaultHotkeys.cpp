#include "hotkeys/DefaultHotkeys.h"

namespace hc {

DefaultHotkeys::DefaultHotkeys(HotkeyService& service, HWND owner) : service_(service), owner_(owner) {}

DefaultHotkeys::~DefaultHotkeys() { ReleaseHotKeys(); }

bool DefaultHotkeys::RegisterHotKeys() {
    // Registering over a held pair would add each atom a second time and leave one reference behind.
    ReleaseHotKeys();
    const bool hide = AddAtom(hide_, kHideAtomName);
    const bool unhide = AddAtom(unhide_, kUnhideAtomName);
    return Arrange() && hide && unhide;
}

bool DefaultHotkeys::AddAtom(Held& held, const wchar_t* atomName) {
    held.atom = service_.AddGlobalAtom(atomName);
    return held.atom != 0;  // without its atom the hotkey would have no id apart from the others
}

void DefaultHotkeys::StandAsideFor(KeyCombination userHide, KeyCombination userUnhide) {
    userHide_ = userHide;
    userUnhide_ = userUnhide;
    // A default that cannot come back now (someone else took it meanwhile) leaves its role without a key; the
    // user's own keys are what the dialog reports on.
    Arrange();
}

bool DefaultHotkeys::Arrange() {
    constexpr KeyCombination kCtrlSpace = 0x4020;
    constexpr KeyCombination kCtrlBackspace = 0x4008;
    const bool hide = Settle(hide_, VK_SPACE, userHide_ == 0 && userUnhide_ != kCtrlSpace);
    const bool unhide = Settle(unhide_, VK_BACK, userUnhide_ == 0 && userHide_ != kCtrlBackspace);
    return hide && unhide;
}

bool DefaultHotkeys::Settle(Held& held, UINT key, bool wanted) {
    if (!wanted) {
        if (held.registered) service_.Unregister(owner_, held.atom);
        held.registered = false;
        return true;
    }
    if (!held.registered && held.atom != 0) held.registered = service_.Register(owner_, held.atom, MOD_CONTROL, key);
    return held.registered;
}

void DefaultHotkeys::ReleaseHotKeys() {
    Release(hide_);
    Release(unhide_);
}

void DefaultHotkeys::Release(Held& held) {
    if (held.registered) service_.Unregister(owner_, held.atom);
    // Only our own reference goes: the atom table is shared with every other program.
    if (held.atom != 0) service_.DeleteGlobalAtom(held.atom);
    held = Held{};
}

}  // namespace hc
