#include "engine/Dispatcher.h"

#include "engine/WindowEngine.h"
#include "settings/Settings.h"

namespace hc {

namespace {
bool IsWindowAction(int action) { return action >= 0 && action <= 3; }
}  // namespace

PrivacyDispatcher::PrivacyDispatcher(WindowEngine& engine, const Settings& settings, ProgramShell& shell,
                                     CleanupSteps& cleanup, UnhidePrompt& prompt, DecoyLauncher& decoy)
    : engine_(engine),
      settings_(settings),
      shell_(shell),
      cleanup_(cleanup),
      decoy_(decoy),
      gate_(settings, prompt, engine.Hidden()) {}

void PrivacyDispatcher::SetAtoms(UINT hideAtom, UINT unhideAtom) {
    hideAtom_ = hideAtom;
    unhideAtom_ = unhideAtom;
}

bool PrivacyDispatcher::DefaultKeyActs(bool customKeyInForce) const {
    return settings_.UseDefaultKeys || !customKeyInForce;
}

void PrivacyDispatcher::RunPrivacyAction(HWND target) {
    const int action = settings_.Action;
    engine_.CloseApplicationWindows();
    switch (action) {
        case 0: engine_.DoHideAllWindows(0); break;
        case 1: engine_.HideActiveWindow(target); break;
        case 2: engine_.DoCloseAllWindows(0); break;
        case 3: engine_.CloseActiveWindow(target); break;
    }
    engine_.Visible().Clear();
}

void PrivacyDispatcher::LaunchDecoy(bool remember) {
    if (!settings_.UseDecoy || settings_.DecoyApp.empty()) return;
    auto process = decoy_.Launch(settings_.DecoyApp);  // a failed launch is not reported
    if (remember) engine_.Visible().SetDecoyProcess(process ? std::move(*process) : DecoyProcess{});
}

void PrivacyDispatcher::Hide(Sender sender, bool rememberDecoy, bool bringDecoyFirst) {
    // "Do nothing", and no action selected at all, leave everything alone: no clean-up with windows on screen.
    if (!IsWindowAction(settings_.Action)) return;
    // Before anything can change the foreground (bringing the decoy to the front does).
    const HWND target = engine_.ActiveTarget(sender);
    ++actions_;
    if (bringDecoyFirst && settings_.UseDecoy && !settings_.DecoyApp.empty()) DoDecoyApp();
    RunPrivacyAction(target);
    LaunchDecoy(rememberDecoy);
    cleanup_.DoOptions();
}

void PrivacyDispatcher::Unhide(HWND promptOwner) {
    if (!engine_.HasHiddenWindows()) return;
    if (gate_.MayShowHidden(promptOwner)) engine_.RestoreWindows();
}

void PrivacyDispatcher::RecoverByRestoring(size_t hiddenBefore) noexcept {
    try {
        // Windows protected by an earlier panic stay behind the password; this dispatch's own come back.
        if (settings_.cbPassword)
            engine_.RestoreFrom(hiddenBefore);
        else
            engine_.RestoreWindows();
    } catch (...) {
        // Nothing is shown to the user; there is nothing further to fall back to.
    }
}

bool PrivacyDispatcher::GetHotKeys(Sender sender, UINT messageSent) {
    if (messageSent == 0) return true;  // no registration has id 0: an atom that could not be added
    const bool fromButton = sender == Sender::PanicButton;
    const size_t hiddenBefore = engine_.Hidden().size();
    try {
        if (messageSent == hideAtom_ && (fromButton || DefaultKeyActs(!custom_ || custom_->HideKeyInForce())))
            Hide(fromButton ? Sender::PanicButton : Sender::None, true, false);
        if (messageSent == unhideAtom_ && (fromButton || DefaultKeyActs(!custom_ || custom_->UnhideKeyInForce())))
            Unhide(shell_.ControllerWindow());
    } catch (...) {
        RecoverByRestoring(hiddenBefore);
    }
    return true;
}

void PrivacyDispatcher::DoHotKey(Sender sender) {
    shell_.DetachIdleHandler();
    struct Reattach {
        ProgramShell& shell;
        ~Reattach() { shell.AttachIdleHandler(); }
    } reattach{shell_};

    if (sender == Sender::AppHkHide && settings_.UseDefaultKeys) return;
    const size_t hiddenBefore = engine_.Hidden().size();
    try {
        if (sender == Sender::AppHkHide || sender == Sender::PanicButton) Hide(sender, false, true);
        if (sender == Sender::AppHkUnHide) Unhide(shell_.HotkeyDialogWindow());
    } catch (...) {
        RecoverByRestoring(hiddenBefore);
    }
}

void PrivacyDispatcher::PanicButtonClick() {
    // The actions on the active application take the user's own keys' way, which acts on the window noted before
    // the click; the others the default hide key's. Neither needs an atom, so a click works without any key.
    if (settings_.Action == 1 || settings_.Action == 3) {
        DoHotKey(Sender::PanicButton);
        return;
    }
    const size_t hiddenBefore = engine_.Hidden().size();
    try {
        Hide(Sender::PanicButton, true, false);
    } catch (...) {
        RecoverByRestoring(hiddenBefore);
    }
}

bool PrivacyDispatcher::DoDecoyApp() { return engine_.DoDecoyApp(); }

void PrivacyDispatcher::RecoverAtStart() {
    // A panic during start-up wins: what it hid and what the earlier run hid stay behind the unhide key.
    if (actions_ > 0) return;
    try {
        Unhide(shell_.ControllerWindow());
    } catch (...) {
        RecoverByRestoring(0);
    }
}

}  // namespace hc
