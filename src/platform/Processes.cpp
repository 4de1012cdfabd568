#include "platform/Processes.h"

#include <vector>

namespace hc::processes {

std::wstring ImagePath(DWORD processId) {
    if (processId == 0) return {};
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (QueryFullProcessImageNameW(process.get(), 0, buffer.data(), &size)) return std::wstring(buffer.data(), size);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        buffer.resize(buffer.size() * 4);
    }
    return {};
}

bool NamedMutexExists(const wchar_t* name) {
    UniqueHandle mutex(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name));
    return static_cast<bool>(mutex);
}

UniqueHandle CreateOwnedMutex(const wchar_t* name) { return UniqueHandle(CreateMutexW(nullptr, TRUE, name)); }

std::wstring OwnExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace hc::processes
