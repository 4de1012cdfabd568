#include "platform/Memory.h"

#include <windows.h>

namespace hc::memory {

std::uint64_t AvailablePhysicalMemory() {
    // The extended status: the old structure's 32-bit fields saturate on machines with more than 4 GiB.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return 0;
    return status.ullAvailPhys;
}

void TrimWorkingSet() {
    // A refusal leaves the working set as it was, which is harmless.
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void Wipe(void* data, std::size_t bytes) noexcept {
    if (data && bytes) SecureZeroMemory(data, bytes);
}

}  // namespace hc::memory
