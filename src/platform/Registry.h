#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace hc::registry {

// Opens (creating when missing) a key with full access; empty when that is impossible.
UniqueHkey CreateKey(HKEY root, const std::wstring& path);
// Opens an existing key; empty when it does not exist or access is refused.
UniqueHkey OpenKey(HKEY root, const std::wstring& path, REGSAM access = KEY_READ);

// The longest text a value may hold before it counts as damaged (the registry's own limit for a value's text).
inline constexpr size_t kMaxValueChars = 32767;
// The value's text; nullopt when absent, not a string value, or longer than kMaxValueChars.
std::optional<std::wstring> ReadString(HKEY key, const std::wstring& name);
bool WriteString(HKEY key, const std::wstring& name, const std::wstring& value);

// What reading one string value under a root found. Absent: the key or the value does not exist. Unreadable: it
// exists but is not a string value, is longer than its limit, or could not be read (access refused, ...).
enum class ValueRead { Found, Absent, Unreadable };
// Reads the text straight into `text`, with no copy left behind in the program's memory (the value may be
// secret); `text` is left empty unless the value was found.
ValueRead ReadStringValue(HKEY root, const std::wstring& path, const std::wstring& name, std::wstring& text,
                          size_t maxChars = kMaxValueChars);
// The strings of a REG_MULTI_SZ value; nullopt when absent, of another type, larger than kMaxValueChars in all, or
// not a well-formed list (an odd byte count, text after the empty string that ends the list).
std::optional<std::vector<std::wstring>> ReadMultiString(HKEY key, const std::wstring& name);
// Empty strings cannot be stored (one would end the list) and are left out.
bool WriteMultiString(HKEY key, const std::wstring& name, const std::vector<std::wstring>& values);
bool WriteDword(HKEY key, const std::wstring& name, DWORD value);
bool DeleteValue(HKEY key, const std::wstring& name);
// Removes a key with everything below it; true also when it did not exist.
bool DeleteTree(HKEY root, const std::wstring& path);
// The value's number; nullopt when absent or not a REG_DWORD.
std::optional<DWORD> ReadDword(HKEY key, const std::wstring& name);

bool ValueExists(HKEY key, const std::wstring& name);
// A REG_BINARY value; nullopt when absent, of another type, larger than maxBytes, or unreadable.
std::optional<std::vector<std::uint8_t>> ReadBinary(HKEY key, const std::wstring& name, size_t maxBytes);
// One write: readers see the old value or the new one, never a mixture.
bool WriteBinary(HKEY key, const std::wstring& name, const std::vector<std::uint8_t>& bytes);

}  // namespace hc::registry
