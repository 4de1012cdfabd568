#include "platform/Registry.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace hc::registry {

UniqueHkey CreateKey(HKEY root, const std::wstring& path) {
    UniqueHkey key;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        key.release();
        return {};
    }
    return key;
}

UniqueHkey OpenKey(HKEY root, const std::wstring& path, REGSAM access) {
    UniqueHkey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) {
        key.release();
        return {};
    }
    return key;
}

std::optional<std::wstring> ReadString(HKEY key, const std::wstring& name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    // Checked before allocating: a damaged or hostile store must not make the program take the memory it asks.
    if (bytes / sizeof(wchar_t) > kMaxValueChars + 1) return std::nullopt;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    // The stored data need not end in a zero; the buffer always does.
    std::wstring text(buffer.data());
    if (text.size() > kMaxValueChars) return std::nullopt;
    return text;
}

ValueRead ReadStringValue(HKEY root, const std::wstring& path, const std::wstring& name, std::wstring& text,
                          size_t maxChars) {
    text.clear();
    const auto outcome = [](LSTATUS status) {
        return status == ERROR_FILE_NOT_FOUND ? ValueRead::Absent : ValueRead::Unreadable;
    };
    UniqueHkey key;
    if (const LSTATUS status = RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()); status) {
        key.release();
        return outcome(status);
    }
    DWORD type = 0;
    DWORD bytes = 0;
    if (const LSTATUS status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes); status)
        return outcome(status);
    if (type != REG_SZ || bytes / sizeof(wchar_t) > maxChars + 1) return ValueRead::Unreadable;
    text.resize(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) ||
        type != REG_SZ) {
        text.assign(text.size(), L'\0');
        text.clear();
        return ValueRead::Unreadable;
    }
    // The stored data need not end in a zero; the text ends at the first one. Shrinking keeps the buffer.
    text.resize(std::min(text.size(), static_cast<size_t>(bytes / sizeof(wchar_t))));
    text.resize(std::wcslen(text.c_str()));
    return ValueRead::Found;
}

bool WriteString(HKEY key, const std::wstring& name, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
           ERROR_SUCCESS;
}

std::optional<std::vector<std::wstring>> ReadMultiString(HKEY key, const std::wstring& name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_MULTI_SZ || bytes % sizeof(wchar_t) != 0) return std::nullopt;
    // Checked before allocating, as for a single text.
    if (bytes / sizeof(wchar_t) > kMaxValueChars + 1) return std::nullopt;
    std::wstring data(bytes / sizeof(wchar_t), L'\0');
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_MULTI_SZ || bytes != data.size() * sizeof(wchar_t))
        return std::nullopt;
    // Each string ends in a zero and an empty one ends the list; the end of the data counts as both, since not
    // every writer adds them. Only zeros may follow the end.
    std::vector<std::wstring> values;
    size_t at = 0;
    while (at < data.size() && data[at] != L'\0') {
        const size_t end = std::min(data.find(L'\0', at), data.size());
        values.emplace_back(data, at, end - at);
        at = end + 1;
    }
    if (at < data.size() && data.find_first_not_of(L'\0', at) != std::wstring::npos) return std::nullopt;
    return values;
}

bool WriteMultiString(HKEY key, const std::wstring& name, const std::vector<std::wstring>& values) {
    std::wstring data;
    for (const std::wstring& value : values)
        if (!value.empty()) data.append(value.c_str(), std::wcslen(value.c_str())).push_back(L'\0');
    data.push_back(L'\0');
    if (data.size() == 1) data.push_back(L'\0');  // an empty list is written as two zeros, as the system does
    return RegSetValueExW(key, name.c_str(), 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteDword(HKEY key, const std::wstring& name, DWORD value) {
    return RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}

bool DeleteValue(HKEY key, const std::wstring& name) { return RegDeleteValueW(key, name.c_str()) == ERROR_SUCCESS; }

bool DeleteTree(HKEY root, const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(root, path.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    return RegDeleteKeyW(root, path.c_str()) == ERROR_SUCCESS || !OpenKey(root, path);
}

bool ValueExists(HKEY key, const std::wstring& name) {
    return RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<std::vector<std::uint8_t>> ReadBinary(HKEY key, const std::wstring& name, size_t maxBytes) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_BINARY || bytes > maxBytes) return std::nullopt;
    std::vector<std::uint8_t> data(bytes);
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &bytes) != ERROR_SUCCESS) return std::nullopt;
    data.resize(bytes);
    return data;
}

bool WriteBinary(HKEY key, const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    return RegSetValueExW(key, name.c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())) ==
           ERROR_SUCCESS;
}

std::optional<DWORD> ReadDword(HKEY key, const std::wstring& name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || bytes != sizeof(value))
        return std::nullopt;
    return value;
}

}  // namespace hc::registry
