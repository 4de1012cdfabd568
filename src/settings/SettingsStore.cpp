#include "settings/SettingsStore.h"

#include "platform/Registry.h"
#include "settings/Conversions.h"

namespace hc {

SettingsStore::SettingsStore(HKEY root, std::wstring path) : key_(registry::CreateKey(root, path)) {}

std::optional<std::wstring> SettingsStore::Read(const std::wstring& section, const std::wstring& name) const {
    if (!key_) return std::nullopt;
    // Registry key names ignore case, so "StartUP" and "StartUp" are one section.
    UniqueHkey sectionKey = registry::OpenKey(key_.get(), section, KEY_READ);
    if (!sectionKey) return std::nullopt;
    return registry::ReadString(sectionKey.get(), name);
}

bool SettingsStore::ReadBool(const std::wstring& section, const std::wstring& name, bool defaultValue) const {
    auto text = Read(section, name);
    if (!text) return defaultValue;
    auto number = TextToInt(*text);
    return number ? *number != 0 : defaultValue;
}

int SettingsStore::ReadInteger(const std::wstring& section, const std::wstring& name, int defaultValue) const {
    auto text = Read(section, name);
    if (!text) return defaultValue;
    return TextToInt(*text).value_or(defaultValue);
}

std::wstring SettingsStore::ReadString(const std::wstring& section, const std::wstring& name,
                                       const std::wstring& defaultValue) const {
    return Read(section, name).value_or(defaultValue);
}

std::optional<std::vector<std::wstring>> SettingsStore::ReadStrings(const std::wstring& section,
                                                                    const std::wstring& name) const {
    if (!key_) return std::nullopt;
    UniqueHkey sectionKey = registry::OpenKey(key_.get(), section, KEY_READ);
    if (!sectionKey) return std::nullopt;
    return registry::ReadMultiString(sectionKey.get(), name);
}

bool SettingsStore::WriteBool(const std::wstring& section, const std::wstring& name, bool value) {
    return WriteString(section, name, BoolToText(value));
}

bool SettingsStore::WriteInteger(const std::wstring& section, const std::wstring& name, int value) {
    return WriteString(section, name, IntToText(value));
}

bool SettingsStore::WriteString(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
    if (!key_) return false;
    UniqueHkey sectionKey = registry::CreateKey(key_.get(), section);
    return sectionKey && registry::WriteString(sectionKey.get(), name, value);
}

bool SettingsStore::WriteStrings(const std::wstring& section, const std::wstring& name,
                                 const std::vector<std::wstring>& values) {
    if (!key_) return false;
    UniqueHkey sectionKey = registry::CreateKey(key_.get(), section);
    return sectionKey && registry::WriteMultiString(sectionKey.get(), name, values);
}

}  // namespace hc
