#pragma once
#include <windows.h>

#include <string>

namespace hctest {

// HC.exe started as its own process and watched only from outside.
class HcProcess {
public:
    HcProcess() = default;
    ~HcProcess() { Stop(); }
    HcProcess(const HcProcess&) = delete;
    HcProcess& operator=(const HcProcess&) = delete;

    bool Start();
    // Starts another copy of the program (an installed one), in the given folder.
    bool StartFrom(const std::wstring& exePath, const std::wstring& workingFolder);
    // True once the controller window exists and the splash window is gone.
    bool IsStarted() const;
    bool WaitUntilStarted(DWORD timeoutMs = 15000);
    bool IsRunning() const;
    // Closes the controller window as the program's exit command does; kills the process if it hangs.
    void Stop();

    DWORD ProcessId() const { return processId_; }
    HANDLE Process() const { return process_; }
    HWND Controller() const;
    HWND Splash() const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

std::wstring HcExePath();

}  // namespace hctest
