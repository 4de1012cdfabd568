#pragma once
#include <climits>
#include <span>
#include <string_view>
#include <variant>

#include "settings/Settings.h"

namespace hc {

class SettingsStore;

enum class SettingType { Boolean, Integer, Text, Custom };

struct SettingRow;
// A value the three string kinds do not cover (a list kept as REG_MULTI_SZ, say) brings its own load and save.
using LoadCustomRow = void (*)(const SettingsStore& store, const SettingRow& row, Settings& settings);
using SaveCustomRow = bool (*)(SettingsStore& store, const SettingRow& row, const Settings& settings);

// One stored value: where it lives, its kind and default, the model field that holds it at run time, the limits an
// integer is kept within, and when it is written. Load and save walk the same rows, so they cannot drift apart.
struct SettingRow {
    const wchar_t* name;
    SettingType type;
    std::variant<bool, int, const wchar_t*> fallback;
    std::variant<std::monostate, bool Settings::*, int Settings::*, std::wstring Settings::*> member;
    int minimum = INT_MIN;
    int maximum = INT_MAX;
    SavedWhen saved = SavedWhen::MainWindowClose;
    const wchar_t* section = kStartUpSection;
    int SettingsDefaults::*defaultFrom = nullptr;  // an integer default known only when loading
    LoadCustomRow loadCustom = nullptr;
    SaveCustomRow saveCustom = nullptr;

    constexpr SettingRow Limits(int low, int high) const {
        SettingRow row = *this;
        row.minimum = low;
        row.maximum = high;
        return row;
    }
    constexpr SettingRow Saved(SavedWhen when) const {
        SettingRow row = *this;
        row.saved = when;
        return row;
    }
    constexpr SettingRow In(const wchar_t* sectionName) const {
        SettingRow row = *this;
        row.section = sectionName;
        return row;
    }
    constexpr SettingRow DefaultFrom(int SettingsDefaults::*field) const {
        SettingRow row = *this;
        row.defaultFrom = field;
        return row;
    }
};

constexpr SettingRow BoolRow(const wchar_t* name, bool Settings::*member, bool fallback) {
    return SettingRow{name, SettingType::Boolean, fallback, member};
}
constexpr SettingRow IntegerRow(const wchar_t* name, int Settings::*member, int fallback) {
    return SettingRow{name, SettingType::Integer, fallback, member};
}
constexpr SettingRow TextRow(const wchar_t* name, std::wstring Settings::*member, const wchar_t* fallback) {
    return SettingRow{name, SettingType::Text, fallback, member};
}
// The row's own functions do the reading and writing; the default is theirs too.
constexpr SettingRow CustomRow(const wchar_t* name, LoadCustomRow load, SaveCustomRow save) {
    SettingRow row{name, SettingType::Custom, false, std::monostate{}};
    row.loadCustom = load;
    row.saveCustom = save;
    return row;
}

// Every stored value, in the order the main window's close writes them.
std::span<const SettingRow> StoredSettings();
// The row of that name; null when there is none.
const SettingRow* FindSetting(std::wstring_view name);

// One row from the store into the model (its default when absent or unreadable), and back.
void LoadSetting(const SettingsStore& store, const SettingRow& row, const SettingsDefaults& defaults,
                 Settings& settings);
bool SaveSetting(SettingsStore& store, const SettingRow& row, const Settings& settings);

}  // namespace hc
