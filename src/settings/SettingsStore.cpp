#include "settings/SettingsStore.h"

#include "platform/Registry.h"
#include "settings/Conversions.h"

namespace hc {

SettingsStore::SettingsStore(HKEY root, std::wstring path) : key_(registry::CreateKey(root, path)) {}

namespace {
// Section names are ASCII; registry key names ignore case, so "StartUP" and "StartUp" are one section.
std::wstring SectionId(const std::wstring& section) {
    std::wstring id = section;
    for (wchar_t& c : id)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return id;
}
}  // namespace

HKEY SettingsStore::SectionForReading(const std::wstring& section) const {
    if (!key_) return nullptr;
    auto [entry, added] = readSections_.try_emplace(SectionId(section));
    if (added) entry->second = registry::OpenKey(key_.get(), section, KEY_READ);
    return entry->second.get();
}

void SettingsStore::SectionWritten(const std::wstring& section) {
    // A section that was absent exists now; an open one shows the new value by itself.
    const auto entry = readSections_.find(SectionId(section));
    if (entry != readSections_.end() && !entry->second) readSections_.erase(entry);
}

std::optional<std::wstring> SettingsStore::Read(const std::wstring& section, const std::wstring& name) const {
    HKEY sectionKey = SectionForReading(section);
    if (!sectionKey) return std::nullopt;
    return registry::ReadString(sectionKey, name);
}

bool SettingsStore::ReadBool(const std::wstring& section, const std::wstring& name, bool defaultValue) const {
    auto text = Read(section, name);
    if (!text) return defaultValue;
    auto number = TextToInt(*text);
    return number ? *number != 0 : defaultValue;
}

bool SettingsStore::IsUnreadableBool(const std::wstring& section, const std::wstring& name) const {
    HKEY sectionKey = SectionForReading(section);
    if (!sectionKey || !registry::ValueExists(sectionKey, name)) return false;
    const auto text = registry::ReadString(sectionKey, name);
    return !text || !TextToInt(*text);
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
    HKEY sectionKey = SectionForReading(section);
    if (!sectionKey) return std::nullopt;
    return registry::ReadMultiString(sectionKey, name);
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
    SectionWritten(section);
    return sectionKey && registry::WriteString(sectionKey.get(), name, value);
}

bool SettingsStore::WriteStrings(const std::wstring& section, const std::wstring& name,
                                 const std::vector<std::wstring>& values) {
    if (!key_) return false;
    UniqueHkey sectionKey = registry::CreateKey(key_.get(), section);
    SectionWritten(section);
    return sectionKey && registry::WriteMultiString(sectionKey.get(), name, values);
}

}  // namespace hc
