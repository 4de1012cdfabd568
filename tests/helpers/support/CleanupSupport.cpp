#include "CleanupSupport.h"

#include <shellapi.h>

#include <algorithm>

#include "cleanup/TaskManagerSwitch.h"

namespace hctest {

namespace {
std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

std::wstring UnixToWindows(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return L"Z:" + path;
}

void DeletePolicyValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, hc::kTaskManagerPolicyKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, hc::kTaskManagerPolicyValue);
        RegCloseKey(key);
    }
}
}  // namespace

std::wstring WhyNotPrivateSandbox() {
    const std::wstring sandbox = Environment(L"HC_TEST_SANDBOX");
    if (!StartsWith(sandbox, L"/tmp/hc-wine.")) return L"HC_TEST_SANDBOX is not a /tmp/hc-wine. folder";
    const std::wstring home = Environment(L"WINEHOMEDIR");  // \??\Z:\tmp\hc-wine.X\home
    if (home.find(UnixToWindows(sandbox).substr(2) + L"\\") == std::wstring::npos)
        return L"HOME is not inside the sandbox";
    if (!StartsWith(Environment(L"XDG_DATA_HOME"), sandbox + L"/")) return L"XDG_DATA_HOME is not inside the sandbox";
    if (!StartsWith(Environment(L"WINEPREFIX"), sandbox + L"/")) return L"WINEPREFIX is not inside the sandbox";
    return L"";
}

std::wstring TrashFilesFolder() { return UnixToWindows(Environment(L"XDG_DATA_HOME")) + L"\\Trash\\files"; }

void ClearTrash() {
    if (!WhyNotPrivateSandbox().empty()) return;
    const std::wstring files = TrashFilesFolder();
    const std::wstring info = files.substr(0, files.size() - 5) + L"info";
    std::wstring list;
    for (const std::wstring& folder : {files, info})
        for (const std::wstring& name : NamesIn(folder)) list += folder + L"\\" + name + L'\0';
    if (list.empty()) return;
    list += L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationW(&operation);
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool WriteTextFile(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(file);
    return ok;
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::wstring> TaskManagerPolicy() {
    wchar_t data[64] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, hc::kTaskManagerPolicyKey, hc::kTaskManagerPolicyValue,
                     RRF_RT_ANY | RRF_NOEXPAND, &type, data, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ) return L"(type " + std::to_wstring(type) + L")";
    return std::wstring(data);
}

std::optional<DWORD> TaskManagerPolicyRecord() {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, hc::kRecoveryKey, hc::kPolicyWrittenValue, RRF_RT_REG_DWORD, nullptr, &value,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool ProbeValueExists() {
    return RegGetValueW(HKEY_LOCAL_MACHINE, kMachineRunKey, L"AdministratorRightsCheck", RRF_RT_ANY, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

ScopedTaskManagerPolicy::ScopedTaskManagerPolicy() { DeletePolicyValue(); }
ScopedTaskManagerPolicy::~ScopedTaskManagerPolicy() { DeletePolicyValue(); }

void ScopedTaskManagerPolicy::SetByOthers(const std::wstring& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, hc::kTaskManagerPolicyKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, hc::kTaskManagerPolicyValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void ScopedTaskManagerPolicy::SetAsLeftByARun() {
    SetByOthers(L"1");
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, hc::kRecoveryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const DWORD one = 1;
    RegSetValueExW(key, hc::kPolicyWrittenValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegCloseKey(key);
}

}  // namespace hctest
