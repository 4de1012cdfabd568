#include "update/UpdateWorker.h"

#include "platform/Com.h"

namespace hc {

void UpdateWorker::Run(std::function<void(const std::atomic<bool>& cancel)> work) {
    if (thread_.joinable()) thread_.join();
    cancel_ = false;
    thread_ = std::thread([this, work = std::move(work)] {
        // The download service and the shell's start of the installer need COM on this thread.
        ComApartment com;
        work(cancel_);
    });
}

void UpdateWorker::Stop() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

}  // namespace hc
