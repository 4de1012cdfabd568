#include "platform/SerialWorker.h"

namespace hc {

SerialWorker::~SerialWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void SerialWorker::Post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
    }
    changed_.notify_all();
}

void SerialWorker::Drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return tasks_.empty() && !busy_; });
}

bool SerialWorker::Idle() {
    std::lock_guard lock(mutex_);
    return tasks_.empty() && !busy_;
}

void SerialWorker::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty()) return;  // stopping, and nothing left to run
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        busy_ = true;
        lock.unlock();
        try {
            task();
        } catch (...) {
            // A task reports its own failures; one that throws must not end the tasks queued after it.
        }
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace hc
