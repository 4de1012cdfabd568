#pragma once
#include <windows.h>

#include <functional>

#include "platform/Messages.h"
#include "engine/Collaborators.h"
#include "engine/Sender.h"
#include "hotkeys/AppHotkey.h"
#include "hotkeys/HotkeyAssignment.h"
#include "platform/Handles.h"
#include "settings/Settings.h"

namespace hc {

// The hotkey assignment dialog. Created once at start-up, it lives (hidden between showings) for the whole
// run because its window owns the user's two application hotkeys.
class THotKey_f final : public CustomHotkeys {
public:
    // Control ids, stable for tests that drive the dialog from outside.
    static constexpr int kIdHeading = 1001;
    static constexpr int kIdHideCaption = 1002;
    static constexpr int kIdHkHide = 1003;
    static constexpr int kIdLabel4 = 1004;  // "Test it!!" of the hide keys
    static constexpr int kIdUnhideCaption = 1005;
    static constexpr int kIdHkUnHide = 1006;
    static constexpr int kIdLabel5 = 1007;  // "Test it!!" of the unhide keys
    static constexpr int kIdApply = IDOK;
    static constexpr int kIdDefault = 1008;
    static constexpr int kIdClose = IDCANCEL;

    static constexpr KeyCombination kInitialHideKeys = 0x4048;    // Ctrl+H
    static constexpr KeyCombination kInitialUnhideKeys = 0x4055;  // Ctrl+U

    // Presses of the user's hotkeys go to onHotkey. When custom keys are stored they are registered here,
    // and a refusal is reported already.
    THotKey_f(Settings& settings, Messages& messages, HotkeyService& hotkeys, std::function<void(Sender)> onHotkey,
              HotkeyAssignment::StandAside defaultsStandAside = {});
    ~THotKey_f() override;
    THotKey_f(const THotKey_f&) = delete;
    THotKey_f& operator=(const THotKey_f&) = delete;

    HWND Handle() const { return window_.get(); }
    // Shows the dialog modally to owner (may be null) until it closes, then hides it.
    // Returns IDOK or IDCANCEL; 0 when it is already showing or the program is ending.
    int ShowModal(HWND owner);

    bool HideKeyInForce() override { return jvAppHkHide_.Active(); }
    bool UnhideKeyInForce() override { return jvAppHkUnHide_.Active(); }

    AppHotkey& jvAppHkHide() { return jvAppHkHide_; }
    AppHotkey& jvAppHkUnHide() { return jvAppHkUnHide_; }

private:
    using UniqueWindow = Unique<HWND, &DestroyWindow>;
    static HWND CreateDialogWindow();
    template <class> friend INT_PTR CALLBACK DialogProcFor(HWND, UINT, WPARAM, LPARAM) noexcept;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnCommand(int id, int code);
    bool IsLink(HWND control) const;
    KeyCombination Keys(int id) const;
    void ShowKeys(int id, KeyCombination keys);
    void EndModal(int result);

    UniqueWindow window_;
    UniqueFont linkFont_;
    AppHotkey jvAppHkHide_;
    AppHotkey jvAppHkUnHide_;
    HotkeyAssignment assignment_;
    bool showing_ = false;
    int modalResult_ = 0;
};

}  // namespace hc
