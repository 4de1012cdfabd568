#include "update/UpdateWorkflow.h"

namespace hc {

bool UpdateWorkflow::StartCheck() {
    if (!CanCheck()) return false;
    state_ = State::Checking;
    failure_ = Failure::None;
    return true;
}

void UpdateWorkflow::CheckEnded(bool succeeded, bool newer) {
    if (state_ != State::Checking) return;
    // A failed check replaces the record: there is nothing to download then.
    newer_ = succeeded && newer;
    checked_ = newer_;
    if (!succeeded) {
        Fail(Failure::Check);
        return;
    }
    state_ = newer_ ? State::Newer : State::Idle;
}

bool UpdateWorkflow::StartDownload() {
    if (!CanDownload()) return false;
    state_ = State::Downloading;
    failure_ = Failure::None;
    return true;
}

void UpdateWorkflow::DownloadEnded(bool succeeded) {
    if (state_ != State::Downloading) return;
    if (!succeeded) {
        Fail(Failure::Download);
        return;
    }
    state_ = State::Verifying;
}

void UpdateWorkflow::InstallEnded(Outcome outcome) {
    if (state_ != State::Verifying && state_ != State::Downloading) return;
    switch (outcome) {
        case Outcome::Started:
            state_ = State::Installing;
            return;
        case Outcome::NotVerified:
            Fail(Failure::NotVerified);
            return;
        case Outcome::NotStarted:
            Fail(Failure::NotStarted);
            return;
    }
}

void UpdateWorkflow::InstallAbandoned() {
    if (state_ == State::Downloading || state_ == State::Verifying) Fail(Failure::Download);
}

bool UpdateWorkflow::RequestClose() {
    closing_ = true;
    return !Busy();
}

void UpdateWorkflow::Fail(Failure failure) {
    state_ = State::Failed;
    failure_ = failure;
}

}  // namespace hc
