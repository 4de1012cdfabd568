#include "platform/Shell.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/Com.h"

namespace hc {

UniqueHicon ShellIconSource::SmallFileIcon(const std::wstring& path) { return shell::SmallFileIcon(path); }

}  // namespace hc

namespace hc::shell {

UniqueHicon SmallFileIcon(const std::wstring& path) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON)) return {};
    return UniqueHicon(info.hIcon);
}

std::wstring SpecialFolderPath(int csidl) {
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || items == nullptr) return {};
    wchar_t buffer[MAX_PATH] = {};
    const BOOL found = SHGetPathFromIDListW(items, buffer);
    CoTaskMemFree(items);
    if (!found) return {};
    std::wstring path(buffer);
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}

std::wstring CommonAppDataFolder() { return SpecialFolderPath(CSIDL_COMMON_APPDATA); }

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CreateFolderTree(const std::wstring& path) {
    std::wstring trimmed = path;
    while (!trimmed.empty() && (trimmed.back() == L'\\' || trimmed.back() == L'/')) trimmed.pop_back();
    if (trimmed.empty() || FolderExists(trimmed)) return 0;
    const size_t cut = trimmed.find_last_of(L"\\/");
    int created = 0;
    if (cut != std::wstring::npos && cut > 0 && trimmed[cut - 1] != L':') {
        created = CreateFolderTree(trimmed.substr(0, cut));
        if (created < 0) return -1;
    }
    if (!CreateDirectoryW(trimmed.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return -1;
    return created + 1;
}

std::wstring FullPathName(const std::wstring& name) {
    const DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return name;
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD length = GetFullPathNameW(name.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0 || length >= buffer.size()) return name;
    return std::wstring(buffer.data(), length);
}

std::optional<StartedProcess> OpenWithDefaultAction(const std::wstring& file) {
    JoinComApartment();  // the shell's handlers may be COM objects
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) return std::nullopt;
    StartedProcess started;
    started.handle.reset(info.hProcess);
    started.id = info.hProcess ? GetProcessId(info.hProcess) : 0;
    return started;
}

}  // namespace hc::shell
