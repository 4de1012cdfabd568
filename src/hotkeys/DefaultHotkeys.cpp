#include "hotkeys/DefaultHotkeys.h"

namespace hc {

DefaultHotkeys::DefaultHotkeys(HotkeyService& service, HWND owner) : service_(service), owner_(owner) {}

DefaultHotkeys::~DefaultHotkeys() { ReleaseHotKeys(); }

bool DefaultHotkeys::RegisterHotKeys() {
    // Registering over a held pair would add each atom a second time and leave one reference behind.
    ReleaseHotKeys();
    const bool hide = Register(hide_, kHideAtomName, VK_SPACE);
    const bool unhide = Register(unhide_, kUnhideAtomName, VK_BACK);
    return hide && unhide;
}

bool DefaultHotkeys::Register(Held& held, const wchar_t* atomName, UINT key) {
    held.atom = service_.AddGlobalAtom(atomName);
    if (held.atom == 0) return false;  // without its atom the hotkey would have no id apart from the others
    held.registered = service_.Register(owner_, held.atom, MOD_CONTROL, key);
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
