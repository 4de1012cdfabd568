#include "settings/SettingsTable.h"

#include <algorithm>
#include <array>

#include "settings/KeepVisible.h"
#include "settings/SettingsStore.h"

namespace hc {

namespace {
void LoadKeptPrograms(const SettingsStore& store, const SettingRow&, Settings& settings) {
    settings.KeepVisible = LoadKeepVisible(store);
}
bool SaveKeptPrograms(SettingsStore& store, const SettingRow&, const Settings& settings) {
    return SaveKeepVisible(store, settings.KeepVisible);
}

const std::array kRows = {
    BoolRow(L"DoBin", &Settings::cbRecycle, false),
    BoolRow(L"TempFiles", &Settings::cbClearTemp, false),
    BoolRow(L"Recent", &Settings::cbRecent, false),
    BoolRow(L"URL", &Settings::cbHistory, false),
    BoolRow(L"UsePW", &Settings::cbPassword, false),
    BoolRow(L"UseDecoy", &Settings::UseDecoy, false),
    // Registry key names ignore case: "StartUP" is the same section as every other row's.
    BoolRow(L"HidePanic", &Settings::fHidePanicBtn, true).In(L"StartUP"),
    TextRow(L"Decoy", &Settings::DecoyApp, L""),
    // The radio group keeps the index within its items: below -1 selects nothing, above 4 the last item.
    IntegerRow(L"Action", &Settings::Action, 0).Limits(-1, 4),
    BoolRow(L"MuteAudio", &Settings::cbMuteAudio, true),
    TextRow(L"HkHide", &Settings::edHide, kDefaultHideText),
    TextRow(L"hkUnHide", &Settings::edUnHide, kDefaultUnhideText),
    BoolRow(L"Defaults", &Settings::UseDefaultKeys, true),
    IntegerRow(L"PanicLeft", &Settings::PanicLeft, 0).DefaultFrom(&SettingsDefaults::panicLeft),
    IntegerRow(L"PanicTop", &Settings::PanicTop, 0).DefaultFrom(&SettingsDefaults::panicTop),
    TextRow(L"btnPanic", &Settings::btnPanic, kPanicGreeting),
    BoolRow(L"Tray", &Settings::cbSilent, false),
    BoolRow(L"HideIcon", &Settings::cbHideIcon, true),
    CustomRow(L"KeepVisible", &LoadKeptPrograms, &SaveKeptPrograms),
    BoolRow(L"AutoStart", &Settings::AutoStart, false).Saved(SavedWhen::ProgramEnd),
    BoolRow(L"DisSplScreen", &Settings::DisSplScreen, false).Saved(SavedWhen::ProgramEnd),
    TextRow(L"IconFile", &Settings::IconFile, L"").Saved(SavedWhen::OnChange),
    IntegerRow(L"IconIndex", &Settings::IconIndex, 3)
        .Saved(SavedWhen::OnChange)
        .DefaultFrom(&SettingsDefaults::iconIndex),
};

template <class... Ways>
struct Overload : Ways... {
    using Ways::operator()...;
};
}  // namespace

std::span<const SettingRow> StoredSettings() { return kRows; }

const SettingRow* FindSetting(std::wstring_view name) {
    const auto row = std::find_if(kRows.begin(), kRows.end(), [&](const SettingRow& r) { return r.name == name; });
    return row == kRows.end() ? nullptr : &*row;
}

void LoadSetting(const SettingsStore& store, const SettingRow& row, const SettingsDefaults& defaults,
                 Settings& settings) {
    if (row.type == SettingType::Custom) {
        if (row.loadCustom) row.loadCustom(store, row, settings);
        return;
    }
    std::visit(Overload{
                   [](std::monostate) {},
                   [&](bool Settings::*field) {
                       settings.*field = store.ReadBool(row.section, row.name, std::get<bool>(row.fallback));
                   },
                   [&](int Settings::*field) {
                       const int fallback = row.defaultFrom ? defaults.*row.defaultFrom : std::get<int>(row.fallback);
                       settings.*field = std::clamp(store.ReadInteger(row.section, row.name, fallback), row.minimum,
                                                    row.maximum);
                   },
                   [&](std::wstring Settings::*field) {
                       settings.*field = store.ReadString(row.section, row.name, std::get<const wchar_t*>(row.fallback));
                   },
               },
               row.member);
}

bool SaveSetting(SettingsStore& store, const SettingRow& row, const Settings& settings) {
    if (row.type == SettingType::Custom) return row.saveCustom && row.saveCustom(store, row, settings);
    return std::visit(Overload{
                          [](std::monostate) { return false; },
                          [&](bool Settings::*field) { return store.WriteBool(row.section, row.name, settings.*field); },
                          [&](int Settings::*field) {
                              return store.WriteInteger(row.section, row.name, settings.*field);
                          },
                          [&](std::wstring Settings::*field) {
                              return store.WriteString(row.section, row.name, settings.*field);
                          },
                      },
                      row.member);
}

}  // namespace hc
