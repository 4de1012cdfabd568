#include "hotkeys/HotkeyAssignment.h"

#include <string>
#include <utility>

namespace hc {

namespace {
constexpr wchar_t kProgramCaption[] = L"Hushcloak Privacy";
constexpr UINT kOwnedError = MB_OK | MB_ICONERROR | MB_TASKMODAL;
constexpr wchar_t kHideRefusedAdvice[] = L"If you are having problems use the \"Default\" option instead.";
constexpr wchar_t kUnhideRefusedAdvice[] = L"Hushcloak Privacy is using \"Default\" option instead.";

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// One registration attempt whatever the hotkey's state: re-registering through SetCombination and then
// activating again would ask twice, and a refusal would be reported twice.
void Reassign(AppHotkey& hotkey, KeyCombination keys) {
    hotkey.Deactivate();
    hotkey.SetCombination(keys);
    hotkey.Activate();
}
}  // namespace

HotkeyAssignment::HotkeyAssignment(Settings& settings, Messages& messages, AppHotkey& hide, AppHotkey& unhide,
                                   std::function<void(Sender)> onHotkey, StandAside defaultsStandAside)
    : settings_(settings),
      messages_(messages),
      hide_(hide),
      unhide_(unhide),
      standAside_(std::move(defaultsStandAside)) {
    hide_.SetFailedHandler([this](KeyCombination keys) { RegistrationFailed(keys); });
    unhide_.SetFailedHandler([this](KeyCombination keys) { RegistrationFailed(keys); });
    if (onHotkey) {
        hide_.SetAction([onHotkey](AppHotkey&) { onHotkey(Sender::AppHkHide); });
        unhide_.SetAction([onHotkey](AppHotkey&) { onHotkey(Sender::AppHkUnHide); });
    }
}

std::optional<HotkeyPair> HotkeyAssignment::KeysToRestore() const {
    if (settings_.UseDefaultKeys) return std::nullopt;
    return HotkeyPair{TextToCombination(settings_.edHide), TextToCombination(settings_.edUnHide)};
}

HotkeyPair HotkeyAssignment::InForce() const {
    return HotkeyPair{hide_.Active() ? hide_.Combination() : KeyCombination{0},
                      unhide_.Active() ? unhide_.Combination() : KeyCombination{0}};
}

void HotkeyAssignment::DefaultsStandAsideFor(HotkeyPair keys) {
    if (standAside_) standAside_(keys);
}

void HotkeyAssignment::Restore(HotkeyPair keys) {
    // The program's own default keys make room first: stored keys equal to them are no conflict to report.
    DefaultsStandAsideFor(keys);
    // A stored text that names no key (the upper-case default texts do not read) is no key to register and no
    // failure to report: that role keeps its default key.
    for (auto [hotkey, combination] : {std::pair<AppHotkey*, KeyCombination>{&hide_, keys.hide}, {&unhide_, keys.unhide}}) {
        hotkey->Deactivate();
        hotkey->SetCombination(combination);
        if (combination != 0) hotkey->Activate();
    }
    DefaultsStandAsideFor(InForce());  // a role whose own key was refused gets its default back
    settings_.edHide = CombinationToText(hide_.Combination());
    settings_.edUnHide = CombinationToText(unhide_.Combination());
}

void HotkeyAssignment::Shown() {
    testedHide_ = false;
    testedUnHide_ = false;
}

void HotkeyAssignment::TestHide(KeyCombination keys) {
    Test(Side{hide_, settings_.edHide, testedHide_, kHideRefusedAdvice}, keys);
}

void HotkeyAssignment::TestUnhide(KeyCombination keys) {
    Test(Side{unhide_, settings_.edUnHide, testedUnHide_, kUnhideRefusedAdvice}, keys);
}

void HotkeyAssignment::Test(const Side& side, KeyCombination keys) {
    settings_.UseDefaultKeys = false;
    HotkeyPair trying = InForce();
    (&side.hotkey == &hide_ ? trying.hide : trying.unhide) = keys;
    DefaultsStandAsideFor(trying);
    Reassign(side.hotkey, keys);
    DefaultsStandAsideFor(InForce());
    if (side.hotkey.Active()) {
        side.text = CombinationToText(side.hotkey.Combination());
        messages_.Information(L"Successfully assigned " + Quoted(side.text));
    } else {
        messages_.Warning(L"Newly assigned Hotkey " + Quoted(CombinationToText(keys)) +
                          L" is not available. Try a different combination. " + side.refusedAdvice);
        UseDefaults();
    }
    side.tested = true;
}

void HotkeyAssignment::UseDefaults() {
    testedHide_ = true;
    testedUnHide_ = true;
    settings_.UseDefaultKeys = true;
    settings_.edHide = kDefaultHideText;
    settings_.edUnHide = kDefaultUnhideText;
    hide_.Deactivate();
    unhide_.Deactivate();
    DefaultsStandAsideFor(HotkeyPair{});
}

bool HotkeyAssignment::MayApply(HotkeyPair keys) {
    if (keys.hide == keys.unhide) {
        messages_.Box(hide_.Owner(), L"Cannot assign same hotkeys for both events.", kProgramCaption, kOwnedError);
        return false;
    }
    if (testedHide_ && testedUnHide_) return true;
    messages_.Warning(L"Please test the assigned Hotkeys before continuing");
    return false;
}

void HotkeyAssignment::RegistrationFailed(KeyCombination keys) {
    messages_.Box(hide_.Owner(),
                  L"Failed to register selected hotkeys " + CombinationToText(keys) + L"Select different combination",
                  kErrorCaption, kOwnedError);
}

}  // namespace hc
