#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "engine/HiddenWindowList.h"
#include "platform/Handles.h"
#include "platform/Shell.h"

namespace hc {

// The program's own parts that the engine and the dispatchers reach without owning them.
// The window layer implements this; tests use doubles.
class ProgramShell {
public:
    virtual ~ProgramShell() = default;
    virtual bool IsMainWindowVisible() = 0;
    virtual void CloseMainWindow() = 0;
    virtual void CloseAboutWindow() = 0;         // when it is open
    virtual void SetTrayIconActive(bool active) = 0;
    virtual HWND PanicButtonWindow() = 0;        // null when there is none
    virtual void ClosePanicButton() = 0;
    virtual HWND LastActiveHandle() = 0;         // the window in front before the Panic Button was clicked
    virtual HWND ControllerWindow() = 0;         // owner of the password prompt for the default hotkeys
    virtual HWND HotkeyDialogWindow() = 0;       // owner of the password prompt for the user's own hotkeys
    virtual void DetachIdleHandler() = 0;
    virtual void AttachIdleHandler() = 0;
};

// The Task Manager policy and the rights it needs.
class SystemSwitches {
public:
    virtual ~SystemSwitches() = default;
    virtual bool HasAdministratorRights() = 0;
    virtual void SetTaskManagerDisabled(bool disabled) = 0;
};

// The clean-up steps that follow a privacy action. Each step catches its own failure; should anything still
// escape DoOptions, the dispatcher restores.
class CleanupSteps {
public:
    virtual ~CleanupSteps() = default;
    virtual void SetAudioMute(bool muted) = 0;
    virtual void DoOptions() = 0;
};

// The prompt that asks for the unhide password.
class UnhidePrompt {
public:
    virtual ~UnhidePrompt() = default;
    virtual bool IsOpen() = 0;
    // Shows the prompt modally; true only when the right password was typed.
    virtual bool AskForPassword(HWND owner) = 0;
    // Closes an open prompt as its Cancel button would.
    virtual void Cancel() = 0;
};

// A program started as the decoy, known by its process until that process ends.
using DecoyProcess = StartedProcess;

// Starts the decoy program or document with the shell's default action.
class DecoyLauncher {
public:
    virtual ~DecoyLauncher() = default;
    // The started process; nullopt when the launch failed.
    virtual std::optional<DecoyProcess> Launch(const std::wstring& file) = 0;
};

// A record of the hidden windows that outlives the process, so that a crash or a kill loses none of them.
class HiddenJournal {
public:
    virtual ~HiddenJournal() = default;
    // Replaces the record with this list; an empty list clears it. False when it could not be written.
    virtual bool Save(const HiddenWindowList& hidden) = 0;
};

// Whether the user's own hotkeys are registered now, each on its own.
class CustomHotkeys {
public:
    virtual ~CustomHotkeys() = default;
    virtual bool HideKeyInForce() = 0;
    virtual bool UnhideKeyInForce() = 0;
};

}  // namespace hc
