#include "settings/KeepVisible.h"

#include <algorithm>

#include "platform/Locale.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

namespace hc {

namespace {
// Characters no file name or path holds: an entry with one was not written by us or by a careful hand.
bool IsDamaged(const std::wstring& entry) {
    return std::any_of(entry.begin(), entry.end(), [](wchar_t c) {
        return c < L' ' || std::wstring_view(L"<>\"|?*").find(c) != std::wstring_view::npos;
    });
}
}  // namespace

std::wstring_view ProgramFileName(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

bool IsKeptVisible(const std::vector<std::wstring>& programs, std::wstring_view imagePath) {
    if (programs.empty()) return false;  // the common case costs nothing
    const std::wstring_view name = ProgramFileName(imagePath);
    if (name.empty()) return false;
    return std::any_of(programs.begin(), programs.end(), [name](const std::wstring& entry) {
        return locale::SameFileNameIgnoringCase(ProgramFileName(entry), name);
    });
}

bool AddKeptProgram(std::vector<std::wstring>& programs, std::wstring_view imagePath) {
    const std::wstring_view name = ProgramFileName(imagePath);
    if (name.empty() || IsKeptVisible(programs, name) || programs.size() >= kMaxKeptPrograms) return false;
    programs.emplace_back(name);
    return true;
}

std::vector<std::wstring> LoadKeepVisible(const SettingsStore& store) {
    std::vector<std::wstring> programs =
        store.ReadStrings(kStartUpSection, kKeepVisibleValue).value_or(std::vector<std::wstring>{});
    if (programs.size() > kMaxKeptPrograms || std::any_of(programs.begin(), programs.end(), IsDamaged)) return {};
    return programs;
}

bool SaveKeepVisible(SettingsStore& store, const std::vector<std::wstring>& programs) {
    return store.WriteStrings(kStartUpSection, kKeepVisibleValue, programs);
}

}  // namespace hc
