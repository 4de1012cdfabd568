#pragma once
#include <functional>
#include <optional>

#include "platform/Messages.h"
#include "engine/Sender.h"
#include "hotkeys/AppHotkey.h"
#include "settings/Settings.h"

namespace hc {

struct HotkeyPair {
    KeyCombination hide = 0;
    KeyCombination unhide = 0;
};

// What the hotkey assignment dialog does: tries the user's combinations on the two application hotkeys,
// keeps the settings in step, falls back to the default pair, and decides when the dialog may close.
class HotkeyAssignment {
public:
    // Told the user's keys in force, or about to be activated, so that the default keys make room for them.
    using StandAside = std::function<void(HotkeyPair userKeys)>;
    HotkeyAssignment(Settings& settings, Messages& messages, AppHotkey& hide, AppHotkey& unhide,
                     std::function<void(Sender)> onHotkey, StandAside defaultsStandAside = {});
    HotkeyAssignment(const HotkeyAssignment&) = delete;
    HotkeyAssignment& operator=(const HotkeyAssignment&) = delete;

    // The user's own combinations from the settings; nullopt while the default pair is in use.
    std::optional<HotkeyPair> KeysToRestore() const;
    // At start-up: activates the combinations as the dialog's fields show them and stores their texts. A
    // combination of no key stays inactive without a message, and its role keeps the default key.
    void Restore(HotkeyPair keys);

    void Shown();
    void TestHide(KeyCombination keys);
    void TestUnhide(KeyCombination keys);
    // The user changed a field: what was tested is no longer what the field shows.
    void HideKeysEdited() { testedHide_ = false; }
    void UnhideKeysEdited() { testedUnHide_ = false; }
    void UseDefaults();
    // Whether Apply may close the dialog; says why not when it may not.
    bool MayApply(HotkeyPair keys);

    bool TestedHide() const { return testedHide_; }
    bool TestedUnHide() const { return testedUnHide_; }

private:
    struct Side {
        AppHotkey& hotkey;
        std::wstring& text;
        bool& tested;
        const wchar_t* refusedAdvice;
    };
    void Test(const Side& side, KeyCombination keys);
    void RegistrationFailed(KeyCombination keys);
    HotkeyPair InForce() const;
    void DefaultsStandAsideFor(HotkeyPair keys);

    Settings& settings_;
    Messages& messages_;
    AppHotkey& hide_;
    AppHotkey& unhide_;
    StandAside standAside_;
    bool testedHide_ = false;
    bool testedUnHide_ = false;
};

}  // namespace hc
