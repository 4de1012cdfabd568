#pragma once
#include <functional>
#include <memory>

#include "app/Window.h"

namespace hc {

class AppHotkey;
class DefaultHotkeys;
class HotkeyService;
class Messages;
class PrivacyDispatcher;

// The hidden controller window: the program's main window in the sense that closing it ends the program.
// It is never shown. It holds the default hotkeys and passes their presses to the dispatcher.
class TForm2 : public Window<TForm2> {
public:
    static constexpr wchar_t kClassName[] = L"TForm2";

    // Creating the controller registers the default hotkeys; a refusal is reported once the message loop runs.
    TForm2(HotkeyService& hotkeys, Messages& messages, PrivacyDispatcher& dispatcher,
           std::function<void()> openHotkeyDialog, std::function<void()> onStealthHotkey = {});
    ~TForm2() override;

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The default pair, released and registered again (a theme change does this); the dispatcher learns the new
    // atoms. True when both keys were registered.
    bool RegisterHotKeys();
    void ReleaseHotKeys();

    // The stealth hotkey (Shift+Alt+Backspace): registered when stealth mode is entered, then for good.
    // A refusal goes unreported: the icon still comes back when a hidden window is shown.
    void ActivateStealthHotkey();
    AppHotkey& hkStealth() { return *hkStealth_; }

private:
    void OnHotkey(WPARAM id) noexcept;
    void OnDefaultKeysRefused();

    Messages& messages_;
    PrivacyDispatcher& dispatcher_;
    std::function<void()> openHotkeyDialog_;
    std::unique_ptr<DefaultHotkeys> defaultHotkeys_;
    std::unique_ptr<AppHotkey> hkStealth_;
};

// Keeps a window off the taskbar and out of the task switcher.
void KeepOffTaskbar(HWND window);

}  // namespace hc
