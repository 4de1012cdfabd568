#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace hc {

class SettingsStore;

// The programs a panic never hides or closes, each by the file name of its executable ("spotify.exe").
inline constexpr wchar_t kKeepVisibleValue[] = L"KeepVisible";
// More entries than anyone keeps by hand: a value with more is damaged.
inline constexpr size_t kMaxKeptPrograms = 256;

// What follows the last backslash or slash of a path; the whole text when it has neither.
std::wstring_view ProgramFileName(std::wstring_view path);
// True when the executable at imagePath is on the list: its file name against each entry's, ignoring case as file
// names do. An entry that names a path compares by its file name; an empty entry, or an image path that could not
// be read (empty), matches nothing.
bool IsKeptVisible(const std::vector<std::wstring>& programs, std::wstring_view imagePath);
// Adds the program at imagePath by its file name; false when it has no file name or is listed already.
bool AddKeptProgram(std::vector<std::wstring>& programs, std::wstring_view imagePath);

// The stored list (REG_MULTI_SZ "KeepVisible" in section "StartUp"). Absent, empty, of another type, oversized or
// damaged: an empty list, and nothing is said.
std::vector<std::wstring> LoadKeepVisible(const SettingsStore& store);
bool SaveKeepVisible(SettingsStore& store, const std::vector<std::wstring>& programs);

}  // namespace hc
