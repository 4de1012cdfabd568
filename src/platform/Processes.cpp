#include "platform/Processes.h"

#include <vector>

namespace hc {

namespace {
std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::wstring ImagePathOf(HANDLE process) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (QueryFullProcessImageNameW(process, 0, buffer.data(), &size)) return std::wstring(buffer.data(), size);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        buffer.resize(buffer.size() * 4);
    }
    return {};
}
}  // namespace

ProcessInfo Win32ProcessSystem::Info(DWORD processId) {
    ProcessInfo info;
    if (processId == 0) return info;
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return info;
    info.imagePath = ImagePathOf(process.get());
    FILETIME created{}, exited{}, kernel{}, user{};
    if (GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) info.creationTime = Ticks(created);
    return info;
}

bool Win32ProcessSystem::HasEnded(HANDLE process) {
    return !process || WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
}

}  // namespace hc

namespace hc::processes {

std::wstring ImagePath(DWORD processId) {
    if (processId == 0) return {};
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process ? ImagePathOf(process.get()) : std::wstring();
}

InstanceMutex CreateInstanceMutex(const wchar_t* name) {
    // Created first and judged by the result: a check before creating would leave a race between two starts.
    InstanceMutex result;
    result.handle.reset(CreateMutexW(nullptr, TRUE, name));
    const DWORD error = GetLastError();
    // Denied means the name exists under rights we lack (an elevated first instance).
    result.alreadyRunning = error == ERROR_ALREADY_EXISTS || (!result.handle && error == ERROR_ACCESS_DENIED);
    if (result.alreadyRunning) result.handle.reset();
    return result;
}

std::wstring OwnExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::uint64_t BootTime() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    constexpr std::uint64_t kTicksPerSecond = 10'000'000;
    const std::uint64_t boot = Ticks(now) - GetTickCount64() * 10'000;
    return (boot + kTicksPerSecond / 2) / kTicksPerSecond * kTicksPerSecond;
}

}  // namespace hc::processes
