#pragma once
#include <windows.h>

#include <string>

namespace hctest {

// The Panic Button of a running HC.exe, found and driven from outside as the user would.

// Its window once it is visible; null when none came.
HWND WaitForPanicButton(DWORD processId, DWORD timeoutMs = 5000);
// The push button that fills it, and that button's caption.
HWND PanicButtonControl(HWND panic);
std::wstring PanicCaption(HWND panic);
RECT ClientRectOnScreen(HWND window);

// A real mouse click (SendInput with absolute coordinates) in the middle of the window.
void ClickMiddleOf(HWND window, bool rightButton = false);
// Right-clicks the button, waits for its menu and picks the item'th command (1 is the first; separators do not
// count) with the arrow keys and Enter. False when no menu came.
bool ChoosePanicMenuItem(HWND panic, int item);
// Right-clicks the button and waits for its menu; the caller closes it.
bool OpenPanicMenu(HWND panic);

// Saves the screen as build/shots/<name>.bmp, for looking at what a window really shows; first waits (briefly)
// until the window given has drawn its text.
void SaveShot(const std::wstring& name, HWND shown = nullptr);

}  // namespace hctest
