#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/WindowSystem.h"

namespace hc {

// Which windows the program lists, hides and shows again. Pure decisions over plain window facts.

// The desktop and the taskbar (by class, and the desktop by its title too): hiding them would break the shell.
bool IsShellWindow(const WindowFacts& facts);

// A window the user sees as a window of another program: visible, titled, on this desktop, not the shell,
// not a caption-less tool window (a floating palette, an on-screen display), not one of ours.
bool IsListedWindow(const WindowFacts& facts, DWORD ownProcessId);

// A window that is not listed itself (untitled, or a caption-less tool window) but is owned by another window:
// it must go and come back with its owner, so none stays floating on screen.
bool IsOwnedPopup(const WindowFacts& facts, DWORD ownProcessId);

// The name the lists show for a process: its image path, or for the two system processes that have none, their
// names ("System Idle Process" for id 0, "System Process" for id 4).
std::wstring ProcessDisplayName(DWORD processId, const std::wstring& imagePath);

// Titles that a restore leaves hidden; a window with such a title is therefore never hidden. The program's own
// windows are known by their process, never by a title another program may give its window too.
bool RestoreLeavesHidden(std::wstring_view title);

}  // namespace hc
