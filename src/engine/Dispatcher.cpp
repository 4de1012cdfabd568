#include "engine/Dispatcher.h"

#include "engine/WindowEngine.h"
#include "settings/Conversions.h"
#include "settings/Settings.h"

namespace hc {

namespace {
constexpr int kDoNothing = 4;

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

void PrivacyDispatcher::RunPrivacyAction(Sender sender) {
    const int action = settings_.Action;
    if (!IsWindowAction(action)) return;
    engine_.CloseApplicationWindows();
    switch (action) {
        case 0: engine_.DoHideAllWindows(0); break;
        case 1: engine_.DoHideActiveWindows(sender, 0); break;
        case 2: engine_.DoCloseAllWindows(0); break;
        case 3: engine_.DoCloseActiveWindow(0); break;
    }
    engine_.Visible().Clear();
}

void PrivacyDispatcher::LaunchDecoy(bool remember) {
    if (!IsWindowAction(settings_.Action) || !settings_.UseDecoy || settings_.DecoyApp.empty()) return;
    const auto process = decoy_.Launch(settings_.DecoyApp);  // a failed launch is not reported
    if (remember) engine_.Visible().SetDecoyProcess(process.value_or(0));
}

void PrivacyDispatcher::Hide(Sender sender, bool rememberDecoy) {
    RunPrivacyAction(sender);
    LaunchDecoy(rememberDecoy);
    if (settings_.Action != kDoNothing) cleanup_.DoOptions();
}

void PrivacyDispatcher::Unhide(HWND promptOwner) {
    if (engine_.Hidden().empty()) return;
    if (gate_.MayShowHidden(promptOwner)) engine_.RestoreWindows();
}

void PrivacyDispatcher::RecoverByRestoring() noexcept {
    try {
        engine_.RestoreWindows();
    } catch (...) {
        // Nothing is shown to the user; there is nothing further to fall back to.
    }
}

bool PrivacyDispatcher::GetHotKeys(Sender sender, UINT messageSent) {
    if (!settings_.UseDefaultKeys && sender != Sender::PanicButton) return true;
    try {
        if (messageSent == hideAtom_) Hide(Sender::None, true);
        if (messageSent == unhideAtom_) Unhide(shell_.ControllerWindow());
    } catch (...) {
        RecoverByRestoring();
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
    try {
        if (sender == Sender::AppHkHide || sender == Sender::PanicButton) {
            if (settings_.UseDecoy && !settings_.DecoyApp.empty()) DoDecoyApp();
            Hide(sender, false);
        }
        if (sender == Sender::AppHkUnHide) Unhide(shell_.HotkeyDialogWindow());
    } catch (...) {
        RecoverByRestoring();
    }
}

bool PrivacyDispatcher::DoDecoyApp() { return engine_.DoDecoyApp(); }

}  // namespace hc
