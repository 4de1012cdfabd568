#include "platform/RecycleBin.h"

#include <windows.h>
#include <shellapi.h>

namespace hc::recyclebin {

bool EmptyAll() {
    // An empty root path means the bins of all drives. The shell answers E_UNEXPECTED when they were empty.
    const HRESULT result = SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOSOUND);
    return SUCCEEDED(result) || result == E_UNEXPECTED;
}

bool MoveToRecycleBin(const std::vector<std::wstring>& paths) {
    if (paths.empty()) return true;
    std::wstring list;
    for (const std::wstring& path : paths) {
        list += path;
        list += L'\0';
    }
    list += L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_RENAMEONCOLLISION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

}  // namespace hc::recyclebin
