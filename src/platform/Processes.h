#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/Handles.h"

namespace hc {

// What the program needs to know of another process.
struct ProcessInfo {
    std::wstring imagePath;         // empty when the process cannot be queried
    std::uint64_t creationTime = 0;  // FILETIME ticks; 0 when unknown
};

// Processes as the logic sees them.
class ProcessSystem {
public:
    virtual ~ProcessSystem() = default;
    virtual DWORD OwnProcessId() = 0;
    virtual ProcessInfo Info(DWORD processId) = 0;
    // True once the process behind the handle has ended (or the handle is useless).
    virtual bool HasEnded(HANDLE process) = 0;
};

class Win32ProcessSystem final : public ProcessSystem {
public:
    DWORD OwnProcessId() override { return GetCurrentProcessId(); }
    ProcessInfo Info(DWORD processId) override;
    bool HasEnded(HANDLE process) override;
};

}  // namespace hc

namespace hc::processes {

// Full path of a process's executable; empty when the process cannot be queried.
std::wstring ImagePath(DWORD processId);

// The single-instance mutex, created initially owned.
struct InstanceMutex {
    bool alreadyRunning = false;  // the name exists, also when its rights keep us from opening it
    UniqueHandle handle;          // empty when it could not be created for another reason
};
InstanceMutex CreateInstanceMutex(const wchar_t* name);

// Full path of this program's executable.
std::wstring OwnExecutablePath();

// When the computer started, in FILETIME ticks (UTC), to the nearest second.
std::uint64_t BootTime();

}  // namespace hc::processes
