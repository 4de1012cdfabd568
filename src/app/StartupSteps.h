#pragma once
#include <windows.h>

#include <deque>
#include <functional>

namespace hc {

// The part of start-up that only the user interface needs, left to the message loop: a step runs only when no
// message waits, so a hotkey pressed meanwhile is handled first, and one step at a time, so the keys are never
// kept waiting for more than one step.
class StartupSteps {
public:
    using Clock = std::function<DWORD()>;
    explicit StartupSteps(Clock now = [] { return GetTickCount(); }) : now_(std::move(now)) {}

    // notBefore, when given, is asked when the step is next in line: the tick count before which it must not run.
    void Add(std::function<void()> step, std::function<DWORD()> notBefore = {});
    // The step, and every one behind it, waits until ready answers true (work on another thread is done); the loop
    // asks again after kReadyPollMs meanwhile.
    void AddWhenReady(std::function<void()> step, std::function<bool()> ready);
    static constexpr DWORD kReadyPollMs = 1;
    // Runs the next step when it is due. Returns how long the loop may sleep before asking again (0: ask again at
    // once), INFINITE when no step is left.
    DWORD RunDue();
    bool Done() const { return steps_.empty(); }

private:
    struct Step {
        std::function<void()> run;
        std::function<DWORD()> notBefore;
        std::function<bool()> ready;
    };
    Clock now_;
    std::deque<Step> steps_;
};

}  // namespace hc
