#include "app/StartupSteps.h"

namespace hc {

void StartupSteps::Add(std::function<void()> step, std::function<DWORD()> notBefore) {
    steps_.push_back(Step{std::move(step), std::move(notBefore), {}});
}

void StartupSteps::AddWhenReady(std::function<void()> step, std::function<bool()> ready) {
    steps_.push_back(Step{std::move(step), {}, std::move(ready)});
}

DWORD StartupSteps::RunDue() {
    if (steps_.empty()) return INFINITE;
    if (steps_.front().ready && !steps_.front().ready()) return kReadyPollMs;
    if (steps_.front().notBefore) {
        // As a signed difference, so the tick count may wrap around meanwhile.
        const auto early = static_cast<LONG>(steps_.front().notBefore() - now_());
        if (early > 0) return static_cast<DWORD>(early);
    }
    // Taken off first: a step may run a modal loop, and nothing inside it may run the same step again.
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step.run();
    return steps_.empty() ? INFINITE : 0;
}

}  // namespace hc
