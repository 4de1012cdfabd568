#pragma once
#include <windows.h>

#include "engine/Collaborators.h"
#include "engine/HiddenWindowList.h"

namespace hc {

struct Settings;

// The one way back to hidden windows, and to the main window that lists them and can untick the password box.
// Every such path asks here first, so a new path cannot forget the password.
class UnhideGate {
public:
    UnhideGate(const Settings& settings, UnhidePrompt& prompt, const HiddenWindowList& hidden)
        : settings_(settings), prompt_(prompt), hidden_(hidden) {}

    // True when the caller may go on: no password is required, nothing is hidden, or the right password was
    // typed just now. False on Cancel, and while a prompt is already open (that prompt decides).
    bool MayShowHidden(HWND promptOwner);

private:
    const Settings& settings_;
    UnhidePrompt& prompt_;
    const HiddenWindowList& hidden_;
};

}  // namespace hc
