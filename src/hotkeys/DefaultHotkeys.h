#pragma once
#include <windows.h>

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

    // True when both are registered; the caller shows kDefaultKeysWarning otherwise.
    bool RegisterHotKeys();
    void ReleaseHotKeys();

    ATOM HideAtom() const { return hide_.atom; }
    ATOM UnhideAtom() const { return unhide_.atom; }

private:
    struct Held {
        ATOM atom = 0;
        bool registered = false;
    };
    bool Register(Held& held, const wchar_t* atomName, UINT key);
    void Release(Held& held);

    HotkeyService& service_;
    HWND owner_;
    Held hide_;
    Held unhide_;
};

}  // namespace hc
