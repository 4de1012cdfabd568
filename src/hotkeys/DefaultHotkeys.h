#pragma once
#include <windows.h>

#include "hotkeys/HotkeyText.h"
#include "platform/Hotkeys.h"

namespace hc {

inline constexpr wchar_t kHideAtomName[] = L"321";
inline constexpr wchar_t kUnhideAtomName[] = L"432";
inline constexpr wchar_t kDefaultKeysWarning[] =
    L"Could not register the default key combination. Try setting the keys manually";

// The default pair: Ctrl+Space hides, Ctrl+Backspace unhides, each registered under a global atom.
// The owner window receives WM_HOTKEY with the atom as its id.
class DefaultHotkeys {
public:
    DefaultHotkeys(HotkeyService& service, HWND owner);
    ~DefaultHotkeys();
    DefaultHotkeys(const DefaultHotkeys&) = delete;
    DefaultHotkeys& operator=(const DefaultHotkeys&) = delete;

    // True when every default key not standing aside is registered; the caller shows kDefaultKeysWarning
    // otherwise.
    bool RegisterHotKeys();
    void ReleaseHotKeys();

    // The user's own keys in force, or about to be (0: none for that role). The program never competes with
    // itself for a combination: a role with its own key gives its default up, and so does a default that the
    // other role's own key uses. The others are registered (again); the atoms stay as they are.
    void StandAsideFor(KeyCombination userHide, KeyCombination userUnhide);
    bool HideKeyRegistered() const { return hide_.registered; }
    bool UnhideKeyRegistered() const { return unhide_.registered; }

    ATOM HideAtom() const { return hide_.atom; }
    ATOM UnhideAtom() const { return unhide_.atom; }

private:
    struct Held {
        ATOM atom = 0;
        bool registered = false;
    };
    bool AddAtom(Held& held, const wchar_t* atomName);
    void Release(Held& held);
    bool Arrange();
    bool Settle(Held& held, UINT key, bool wanted);

    HotkeyService& service_;
    HWND owner_;
    Held hide_;
    Held unhide_;
    KeyCombination userHide_ = 0;
    KeyCombination userUnhide_ = 0;
};

}  // namespace hc
