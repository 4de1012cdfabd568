#include "HcProcess.h"

#include "TestSupport.h"

namespace hctest {

std::wstring HcExePath() { return BinFolder() + L"HC.exe"; }

bool HcProcess::Start() { return StartFrom(HcExePath(), BinFolder()); }

bool HcProcess::StartFrom(const std::wstring& exePath, const std::wstring& workingFolder) {
    Stop();
    process_ = StartProcess(exePath, L"", &processId_, workingFolder);
    return process_ != nullptr;
}

HWND HcProcess::Controller() const {
    auto windows = WindowsOf(processId_, L"TForm2");
    return windows.empty() ? nullptr : windows.front();
}

HWND HcProcess::Splash() const {
    auto windows = WindowsOf(processId_, L"TSplash_f");
    return windows.empty() ? nullptr : windows.front();
}

bool HcProcess::IsStarted() const { return IsRunning() && Controller() && !Splash(); }

bool HcProcess::WaitUntilStarted(DWORD timeoutMs) {
    return WaitUntil([&] { return IsStarted(); }, timeoutMs, 5);
}

bool HcProcess::IsRunning() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void HcProcess::Stop() {
    if (!process_) return;
    if (HWND controller = Controller()) PostMessageW(controller, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    processId_ = 0;
}


}  // namespace hctest
