#include "app/ControllerWindow.h"

#include "platform/Messages.h"
#include "engine/Dispatcher.h"
#include "hotkeys/AppHotkey.h"
#include "hotkeys/DefaultHotkeys.h"
#include "settings/Configuration.h"

namespace hc {

namespace {
constexpr UINT kMsgDefaultKeysRefused = WM_APP + 1;
constexpr KeyCombination hkUnStealth = 0xA008;  // Shift+Alt+Backspace
}  // namespace

void KeepOffTaskbar(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    SetWindowLongW(window, GWL_EXSTYLE, (style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    ShowWindow(window, SW_HIDE);
}

TForm2::TForm2(HotkeyService& hotkeys, Messages& messages, PrivacyDispatcher& dispatcher,
               std::function<void()> openHotkeyDialog, std::function<void()> onStealthHotkey)
    : messages_(messages), dispatcher_(dispatcher), openHotkeyDialog_(std::move(openHotkeyDialog)) {
    RegisterWindowClass(kClassName);
    CreateWindowFor(WS_EX_TOOLWINDOW, kClassName, kApplicationTitle, WS_POPUP, 0, 0, 0, 0);
    if (!hwnd) return;
    hkStealth_ = std::make_unique<AppHotkey>(hotkeys, hwnd);
    hkStealth_->SetAction([onStealthHotkey](AppHotkey&) {
        if (onStealthHotkey) onStealthHotkey();
    });
    defaultHotkeys_ = std::make_unique<DefaultHotkeys>(hotkeys, hwnd);
    const bool registered = RegisterHotKeys();
    // The warning and the dialog wait for the end of start-up: the dialog does not exist yet.
    if (!registered) PostMessageW(hwnd, kMsgDefaultKeysRefused, 0, 0);
}

TForm2::~TForm2() {
    if (hwnd) DestroyWindow(hwnd);
}

bool TForm2::RegisterHotKeys() {
    const bool registered = defaultHotkeys_->RegisterHotKeys();
    dispatcher_.SetAtoms(defaultHotkeys_->HideAtom(), defaultHotkeys_->UnhideAtom());
    return registered;
}

void TForm2::ReleaseHotKeys() { defaultHotkeys_->ReleaseHotKeys(); }

void TForm2::ActivateStealthHotkey() {
    hkStealth_->SetCombination(hkUnStealth);
    hkStealth_->Activate();
}

void TForm2::OnHotkey(WPARAM id) noexcept {
    try {
        if (hkStealth_) hkStealth_->HandleHotkeyMessage(id);
        // Every id goes on to the dispatcher too; the stealth id matches neither atom there.
        dispatcher_.GetHotKeys(Sender::None, static_cast<UINT>(id));
    } catch (...) {
        // Dropped without a message: the dispatcher has already restored what it could.
    }
}

void TForm2::OnDefaultKeysRefused() {
    messages_.Warning(kDefaultKeysWarning);
    if (openHotkeyDialog_) openHotkeyDialog_();
}

LRESULT TForm2::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_HOTKEY:
            OnHotkey(wp);
            return 0;
        case kMsgDefaultKeysRefused:
            OnDefaultKeysRefused();
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            if (defaultHotkeys_) ReleaseHotKeys();
            PostQuitMessage(0);
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace hc
