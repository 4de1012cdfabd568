#pragma once
#include <windows.h>

#include "engine/Collaborators.h"
#include "engine/Sender.h"
#include "engine/UnhideGate.h"

namespace hc {

class WindowEngine;
struct Settings;

// Turns a panic signal into the chosen privacy action and an unhide signal into restoring the hidden windows.
// Any failure that reaches a dispatch brings every hidden window back: the program fails toward visibility.
class PrivacyDispatcher {
public:
    PrivacyDispatcher(WindowEngine& engine, const Settings& settings, ProgramShell& shell, CleanupSteps& cleanup,
                      UnhidePrompt& prompt, DecoyLauncher& decoy);

    // The ids of the default hotkeys, known once they are registered.
    void SetAtoms(UINT hideAtom, UINT unhideAtom);
    UINT HideAtom() const { return hideAtom_; }

    // The default hotkeys (sender None, the hotkey id) and the Panic Button (its sender, the hide atom).
    bool GetHotKeys(Sender sender, UINT messageSent);
    // The user's own hotkeys, and the Panic Button for the actions on the active application.
    void DoHotKey(Sender sender);
    // Brings an already running decoy to the front; true when one is known.
    bool DoDecoyApp();
    // The password check that every way back to hidden windows goes through.
    UnhideGate& Gate() { return gate_; }

private:
    void RunPrivacyAction(Sender sender);
    // Launches the decoy after an action on windows; the started process when it is to be remembered.
    void LaunchDecoy(bool remember);
    void Hide(Sender sender, bool rememberDecoy);
    void Unhide(HWND promptOwner);
    void RecoverByRestoring() noexcept;

    WindowEngine& engine_;
    const Settings& settings_;
    ProgramShell& shell_;
    CleanupSteps& cleanup_;
    DecoyLauncher& decoy_;
    UnhideGate gate_;
    UINT hideAtom_ = 0;
    UINT unhideAtom_ = 0;
};

}  // namespace hc
