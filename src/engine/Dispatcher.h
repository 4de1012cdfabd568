#pragma once
#include <windows.h>

#include "engine/Collaborators.h"
#include "engine/Sender.h"
#include "engine/UnhideGate.h"

namespace hc {

class WindowEngine;
struct Settings;

// Turns a panic signal into the chosen privacy action and an unhide signal into restoring the hidden windows.
// Any failure that reaches a dispatch brings hidden windows back: the program fails toward visibility (while a
// password is required, only the windows that dispatch itself hid).
class PrivacyDispatcher {
public:
    PrivacyDispatcher(WindowEngine& engine, const Settings& settings, ProgramShell& shell, CleanupSteps& cleanup,
                      UnhidePrompt& prompt, DecoyLauncher& decoy);

    // The ids of the default hotkeys, known once they are registered.
    void SetAtoms(UINT hideAtom, UINT unhideAtom);
    // The user's own hotkeys, once their dialog exists. A default key acts whenever the user's own key of the
    // same role is not in force, so there is always a working hide and unhide key.
    void SetCustomHotkeys(CustomHotkeys* custom) { custom_ = custom; }

    // The default hotkeys (sender None, the hotkey id) and the Panic Button (its sender, the hide atom).
    bool GetHotKeys(Sender sender, UINT messageSent);
    // The user's own hotkeys, and the Panic Button for the actions on the active application.
    void DoHotKey(Sender sender);
    // The Panic Button's click, the privacy action as the hide key would run it, whichever keys are in force.
    void PanicButtonClick();
    // Brings an already running decoy to the front; true when one is known.
    bool DoDecoyApp();
    // Windows found hidden at start-up: shown through the same path as the unhide key, unless a privacy action
    // has run since.
    void RecoverAtStart();

    // True once a privacy action has run: start-up then shows nothing that the action would have taken away.
    bool HasActed() const { return actions_ > 0; }

    // The password check that every way back to hidden windows goes through.
    UnhideGate& Gate() { return gate_; }

private:
    bool DefaultKeyActs(bool customKeyInForce) const;
    void RunPrivacyAction(HWND target);
    // Launches the decoy after an action on windows; the started process when it is to be remembered.
    void LaunchDecoy(bool remember);
    void Hide(Sender sender, bool rememberDecoy, bool bringDecoyFirst);
    void Unhide(HWND promptOwner);
    void RecoverByRestoring(size_t hiddenBefore) noexcept;

    WindowEngine& engine_;
    const Settings& settings_;
    ProgramShell& shell_;
    CleanupSteps& cleanup_;
    DecoyLauncher& decoy_;
    UnhideGate gate_;
    CustomHotkeys* custom_ = nullptr;
    UINT hideAtom_ = 0;
    UINT unhideAtom_ = 0;
    int actions_ = 0;  // privacy actions run so far
};

}  // namespace hc
