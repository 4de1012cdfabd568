#pragma once
#include <windows.h>

#include "platform/Unique.h"

namespace hc {

// The tray menu's command ids; WM_COMMAND carries them to the controller.
enum TrayCommand : UINT {
    kAbout1 = 2001,
    kCheckforupdates1,
    kChangeIcon1,
    kShow1,
    kDisSplScr,
    kNormaloperation1,
    kSwitchtostealthmode1,
    kAutoStart,
    kBtnPanic,
    kExit1,
};

// What the menu shows each time it opens.
struct TrayMenuState {
    bool openMainWindowEnabled = true;
    bool startSilent = false;
    bool autoStart = false;
    bool panicButtonShown = false;
};

// "&Open main window" stays off while hidden windows wait behind a password: the main window lists them and can
// untick the password box.
bool OpenMainWindowEnabled(bool windowsHidden, bool passwordRequired);

// The tray menu (PopupMenu1) with its "Mode of operation" submenu.
class TrayMenu {
public:
    TrayMenu();
    HMENU Handle() const { return menu_.get(); }
    // PopupMenu1Popup: enables and ticks the items as the state says.
    void Prepare(const TrayMenuState& state);
    // Opens the menu at the point until the user chooses or leaves; the choice arrives as WM_COMMAND.
    void Track(HWND owner, POINT at);

private:
    using UniqueMenu = Unique<HMENU, &DestroyMenu>;
    UniqueMenu menu_;
};

}  // namespace hc
