#include "settings/Settings.h"

#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

namespace hc {

Settings LoadSettings(const SettingsStore& store, const SettingsDefaults& defaults) {
    Settings s;
    for (const SettingRow& row : StoredSettings()) LoadSetting(store, row, defaults, s);
    return s;
}

bool SaveSettings(SettingsStore& store, const Settings& settings, SavedWhen moment) {
    bool ok = store.IsOpen();
    for (const SettingRow& row : StoredSettings()) {
        const bool due = row.saved == SavedWhen::MainWindowClose ||
                         (row.saved == SavedWhen::ProgramEnd && moment == SavedWhen::ProgramEnd);
        if (due) ok = SaveSetting(store, row, settings) && ok;
    }
    return ok;
}

bool SaveSettings(SettingsStore& store, const Settings& settings, std::initializer_list<std::wstring_view> names) {
    bool ok = store.IsOpen();
    for (std::wstring_view name : names) {
        const SettingRow* row = FindSetting(name);
        ok = row && SaveSetting(store, *row, settings) && ok;
    }
    return ok;
}

bool LoadSilentStart(const SettingsStore& store) {
    Settings s;
    LoadSetting(store, *FindSetting(L"Tray"), SettingsDefaults{}, s);
    return s.cbSilent;
}

}  // namespace hc
