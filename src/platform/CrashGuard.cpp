#include "platform/CrashGuard.h"

#include <windows.h>

#include <cstdlib>
#include <exception>

namespace hc::crash {

namespace {
// The one global of its kind: neither callback below carries a context pointer.
struct Guard {
    void (*action)(void*) = nullptr;
    void* context = nullptr;
    LONG ran = 0;
} guard;

void RunOnce() noexcept {
    if (guard.action && InterlockedExchange(&guard.ran, 1) == 0) guard.action(guard.context);
}

LONG WINAPI Filter(EXCEPTION_POINTERS*) {
    RunOnce();
    return EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void Terminate() noexcept {
    RunOnce();
    std::abort();
}
}  // namespace

void OnUnhandledFailure(void (*action)(void* context), void* context) {
    guard.action = action;
    guard.context = context;
    SetUnhandledExceptionFilter(&Filter);
    std::set_terminate(&Terminate);
}

void Disarm() { InterlockedExchange(&guard.ran, 1); }

}  // namespace hc::crash
