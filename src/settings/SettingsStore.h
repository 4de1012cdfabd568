#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "settings/Configuration.h"

namespace hc {

// The per-user settings key, read and written like an INI file: sections are subkeys, entries string values.
// One object is one batch: the key is opened when it is made and closed when it goes.
class SettingsStore {
public:
    explicit SettingsStore(HKEY root = HKEY_CURRENT_USER, std::wstring path = kSettingsKey);
    bool IsOpen() const { return static_cast<bool>(key_); }

    // Absent entries, and Boolean or integer texts that are not numbers, give the default.
    bool ReadBool(const std::wstring& section, const std::wstring& name, bool defaultValue) const;
    // True when the entry is there but does not read as a Boolean: another type, or a text that is no number.
    bool IsUnreadableBool(const std::wstring& section, const std::wstring& name) const;
    int ReadInteger(const std::wstring& section, const std::wstring& name, int defaultValue) const;
    // An entry that exists and is empty reads as empty.
    std::wstring ReadString(const std::wstring& section, const std::wstring& name,
                            const std::wstring& defaultValue) const;

    // A list of texts (REG_MULTI_SZ); nullopt when absent, of another type or damaged.
    std::optional<std::vector<std::wstring>> ReadStrings(const std::wstring& section, const std::wstring& name) const;

    bool WriteBool(const std::wstring& section, const std::wstring& name, bool value);
    bool WriteInteger(const std::wstring& section, const std::wstring& name, int value);
    bool WriteString(const std::wstring& section, const std::wstring& name, const std::wstring& value);
    bool WriteStrings(const std::wstring& section, const std::wstring& name, const std::vector<std::wstring>& values);

private:
    std::optional<std::wstring> Read(const std::wstring& section, const std::wstring& name) const;
    // The section opened for reading once per batch (null when absent): a start-up reads some fifty values.
    HKEY SectionForReading(const std::wstring& section) const;
    void SectionWritten(const std::wstring& section);

    UniqueHkey key_;
    mutable std::map<std::wstring, UniqueHkey> readSections_;  // by the name in capitals: key names ignore case
};

}  // namespace hc
