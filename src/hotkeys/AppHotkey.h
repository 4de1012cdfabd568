#pragma once
#include <windows.h>

#include <functional>

#include "hotkeys/HotkeyText.h"
#include "platform/Hotkeys.h"

namespace hc {

// One key combination registered as a system-wide hotkey on an owner window. The owner's WM_HOTKEY
// handler passes its id to HandleHotkeyMessage, which runs the action.
class AppHotkey {
public:
    using Action = std::function<void(AppHotkey&)>;
    using FailedHandler = std::function<void(KeyCombination)>;

    AppHotkey(HotkeyService& service, HWND owner, KeyCombination combination = 0);
    ~AppHotkey();
    AppHotkey(const AppHotkey&) = delete;
    AppHotkey& operator=(const AppHotkey&) = delete;

    // Registers under a new id; a refusal goes to the failed handler and leaves the hotkey inactive.
    void Activate();
    void Deactivate();
    // Re-registers at once when active.
    void SetCombination(KeyCombination combination);

    void SetAction(Action action) { action_ = std::move(action); }
    void SetFailedHandler(FailedHandler handler) { failed_ = std::move(handler); }

    // True when the id is this active hotkey's; its action has then run.
    bool HandleHotkeyMessage(WPARAM id);

    HWND Owner() const { return owner_; }
    KeyCombination Combination() const { return combination_; }
    bool Active() const { return active_; }
    int Id() const { return id_; }

private:
    HotkeyService& service_;
    HWND owner_;
    KeyCombination combination_;
    bool active_ = false;
    int id_ = -1;
    Action action_;
    FailedHandler failed_;
};

}  // namespace hc
