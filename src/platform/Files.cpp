#include "platform/Files.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/Shell.h"

namespace hc::files {

std::optional<std::vector<std::wstring>> FolderEntries(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<std::wstring>{};
        return std::nullopt;
    }
    std::vector<std::wstring> entries;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") entries.push_back(folder + L"\\" + name);
    } while (FindNextFileW(search, &found));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    if (!complete) return std::nullopt;
    return entries;
}

std::wstring RecentDocumentsFolder() { return shell::SpecialFolderPath(CSIDL_RECENT); }

}  // namespace hc::files
