#pragma once
#include <windows.h>

#include <functional>

namespace hc {

// Follows the foreground window of the whole desktop through the system's accessibility events. The callback runs
// on the thread that started the tracker whenever that thread retrieves messages, so it keeps coming while a modal
// loop or a message box runs.
class ForegroundTracker {
public:
    explicit ForegroundTracker(std::function<void(HWND)> onForeground);
    ~ForegroundTracker();
    ForegroundTracker(const ForegroundTracker&) = delete;
    ForegroundTracker& operator=(const ForegroundTracker&) = delete;

    // True when the events are followed (also when they already were).
    bool Start();
    void Stop();
    bool IsRunning() const { return hook_ != nullptr; }

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                                 DWORD time) noexcept;

    std::function<void(HWND)> onForeground_;
    HWINEVENTHOOK hook_ = nullptr;
};

// The process that owns a window; 0 when it is gone.
DWORD WindowProcessId(HWND window);
DWORD OwnProcessId();
HWND CurrentForeground();

}  // namespace hc
