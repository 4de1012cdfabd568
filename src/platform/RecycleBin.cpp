#include "platform/RecycleBin.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/Com.h"
#include "platform/Registry.h"

namespace hc::recyclebin {

namespace {
constexpr wchar_t kExplorerPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr wchar_t kVolumeSettingsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\";

bool Switched(HKEY root, const std::wstring& path, const wchar_t* name) {
    const UniqueHkey key = registry::OpenKey(root, path, KEY_QUERY_VALUE);
    return key && registry::ReadDword(key.get(), name).value_or(0) != 0;
}

// "{GUID}" of the volume whose root this is; empty when the system names none.
std::wstring VolumeGuid(const wchar_t* root) {
    wchar_t name[64] = {};
    if (!GetVolumeNameForVolumeMountPointW(root, name, 64)) return L"";
    const std::wstring_view text(name);
    const size_t open = text.find(L'{');
    const size_t close = text.find(L'}', open);
    if (open == std::wstring_view::npos || close == std::wstring_view::npos) return L"";
    return std::wstring(text.substr(open, close - open + 1));
}
}  // namespace

bool EmptyAll() {
    JoinComApartment();
    // An empty root path means the bins of all drives. The shell answers E_UNEXPECTED when they were empty.
    const HRESULT result = SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOSOUND);
    return SUCCEEDED(result) || result == E_UNEXPECTED;
}

bool MoveToRecycleBin(const std::vector<std::wstring>& paths) {
    if (paths.empty()) return true;
    JoinComApartment();
    std::wstring list;
    for (const std::wstring& path : paths) {
        list += path;
        list += L'\0';
    }
    list += L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    // An item too large for the bin would be destroyed for good: the shell asks first instead.
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING | FOF_RENAMEONCOLLISION | FOF_SILENT |
                       FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

bool RecyclesDeletionsAt(const std::wstring& path) {
    if (path.starts_with(L"\\\\")) return false;  // a share
    wchar_t root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return false;
    // Network drives have no bin; removable ones have none on current Windows either.
    if (GetDriveTypeW(root) != DRIVE_FIXED) return false;
    // "Do not move deleted files to the Recycle Bin", by policy for this user or the machine.
    if (Switched(HKEY_CURRENT_USER, kExplorerPolicyKey, L"NoRecycleFiles") ||
        Switched(HKEY_LOCAL_MACHINE, kExplorerPolicyKey, L"NoRecycleFiles"))
        return false;
    // The bin's own setting for this drive: "Don't move files to the Recycle Bin. Remove files immediately."
    const std::wstring volume = VolumeGuid(root);
    return volume.empty() || !Switched(HKEY_CURRENT_USER, kVolumeSettingsKey + volume, L"NukeOnDelete");
}

}  // namespace hc::recyclebin
