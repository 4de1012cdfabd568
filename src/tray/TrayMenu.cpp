#include "tray/TrayMenu.h"

namespace hc {

bool OpenMainWindowEnabled(bool windowsHidden, bool passwordRequired) { return !(windowsHidden && passwordRequired); }

TrayMenu::TrayMenu() : menu_(CreatePopupMenu()) {
    HMENU menu = menu_.get();
    HMENU mode = CreatePopupMenu();
    AppendMenuW(mode, MF_STRING, kNormaloperation1, L"Normal operation");
    AppendMenuW(mode, MF_STRING, kSwitchtostealthmode1, L"Switch to stealth mode");
    // One radio group; choosing an item never moves its mark.
    CheckMenuRadioItem(mode, kNormaloperation1, kSwitchtostealthmode1, kNormaloperation1, MF_BYCOMMAND);

    AppendMenuW(menu, MF_STRING, kAbout1, L"&About");
    AppendMenuW(menu, MF_STRING, kCheckforupdates1, L"Check for updates...");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kChangeIcon1, L"&Change Icon...");
    AppendMenuW(menu, MF_STRING, kShow1, L"&Open main window");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kDisSplScr, L"&Start silent (disables splash screen)");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(mode), L"Mode of operation");
    AppendMenuW(menu, MF_STRING, kAutoStart, L"Start with &Windows");
    AppendMenuW(menu, MF_STRING, kBtnPanic, L"Show Panic Button on the desktop");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kExit1, L"&Close Hushcloak Privacy");
}

void TrayMenu::Prepare(const TrayMenuState& state) {
    HMENU menu = menu_.get();
    EnableMenuItem(menu, kShow1, MF_BYCOMMAND | (state.openMainWindowEnabled ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, kDisSplScr, MF_BYCOMMAND | (state.startSilent ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, kAutoStart, MF_BYCOMMAND | (state.autoStart ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, kBtnPanic, MF_BYCOMMAND | (state.panicButtonShown ? MF_CHECKED : MF_UNCHECKED));
}

void TrayMenu::Track(HWND owner, POINT at) {
    // In front first, or the menu would stay open when the user clicks elsewhere.
    SetForegroundWindow(owner);
    TrackPopupMenuEx(menu_.get(), TPM_RIGHTBUTTON | TPM_BOTTOMALIGN | TPM_LEFTALIGN, at.x, at.y, owner, nullptr);
    // The shell's known quirk: without a message after the menu, the next one can close at once.
    PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace hc
