#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace hc {

// Runs tasks one after another, in the order given, on a thread of its own: for calls that may wait on another
// process (the shell), or take long (loading a DLL), and must never hold up the user-interface thread. The thread
// starts with the first task; the destructor runs what is still queued, then joins.
class SerialWorker {
public:
    SerialWorker() = default;
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void Post(std::function<void()> task);
    // Returns once every task posted before has run.
    void Drain();
    // True when every task posted before has run; does not wait.
    bool Idle();

private:
    void Loop();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace hc
