#pragma once
#include <atomic>
#include <functional>
#include <thread>

namespace hc {

// Runs one piece of the update's work on a thread of its own, so the user-interface thread never waits on the
// network. The work never touches a window: it reports through functions that post to the window's thread.
class UpdateWorker {
public:
    UpdateWorker() = default;
    ~UpdateWorker() { Stop(); }
    UpdateWorker(const UpdateWorker&) = delete;
    UpdateWorker& operator=(const UpdateWorker&) = delete;

    // The previous work must have reported its end (its thread is then finishing and is joined here).
    void Run(std::function<void(const std::atomic<bool>& cancel)> work);
    // Asks the running work to stop at its next progress report.
    void Cancel() { cancel_ = true; }
    // Cancels and waits for the thread.
    void Stop();

private:
    std::thread thread_;
    std::atomic<bool> cancel_{false};
};

}  // namespace hc
