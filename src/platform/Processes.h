#pragma once
#include <windows.h>

#include <string>

#include "platform/Handles.h"

namespace hc::processes {

// Full path of a process's executable; empty when the process cannot be queried.
std::wstring ImagePath(DWORD processId);

// True when a mutex of that name exists (another instance runs).
bool NamedMutexExists(const wchar_t* name);
// Creates the mutex, initially owned; empty when it could not be created.
UniqueHandle CreateOwnedMutex(const wchar_t* name);

// Full path of this program's executable.
std::wstring OwnExecutablePath();

}  // namespace hc::processes
