#include "platform/ForegroundTracker.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace hc {

namespace {
// The event callback has no context pointer: this maps each hook to its tracker. Only the UI thread touches it.
std::vector<std::pair<HWINEVENTHOOK, ForegroundTracker*>>& Trackers() {
    static std::vector<std::pair<HWINEVENTHOOK, ForegroundTracker*>> trackers;
    return trackers;
}
}  // namespace

ForegroundTracker::ForegroundTracker(std::function<void(HWND)> onForeground) : onForeground_(std::move(onForeground)) {}

ForegroundTracker::~ForegroundTracker() { Stop(); }

bool ForegroundTracker::Start() {
    if (hook_) return true;
    Trackers().reserve(Trackers().size() + 1);  // so registering below cannot throw once the hook exists
    hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &OnEvent, 0, 0,
                            WINEVENT_OUTOFCONTEXT);
    if (!hook_) return false;
    Trackers().emplace_back(hook_, this);
    return true;
}

void ForegroundTracker::Stop() {
    if (!hook_) return;
    UnhookWinEvent(hook_);
    auto& trackers = Trackers();
    trackers.erase(std::remove_if(trackers.begin(), trackers.end(), [&](const auto& t) { return t.first == hook_; }),
                   trackers.end());
    hook_ = nullptr;
}

void CALLBACK ForegroundTracker::OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG, DWORD,
                                         DWORD) noexcept {
    if (event != EVENT_SYSTEM_FOREGROUND || object != OBJID_WINDOW || !window) return;
    for (const auto& [h, tracker] : Trackers()) {
        if (h != hook) continue;
        try {
            if (tracker->onForeground_) tracker->onForeground_(window);
        } catch (...) {
            // A failure here would cross into the system's callback; the next change is recorded anyway.
        }
        return;
    }
}

DWORD WindowProcessId(HWND window) {
    DWORD processId = 0;
    if (window) GetWindowThreadProcessId(window, &processId);
    return processId;
}

DWORD OwnProcessId() { return GetCurrentProcessId(); }

HWND CurrentForeground() { return GetForegroundWindow(); }

}  // namespace hc
