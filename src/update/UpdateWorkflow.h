#pragma once

namespace hc {

// The steps of one update window, from the first check to the started installer. The window only shows the
// state; every decision about what may happen next is made here.
class UpdateWorkflow {
public:
    enum class State { Idle, Checking, Newer, Downloading, Verifying, Installing, Failed };
    enum class Failure { None, Check, Download, NotVerified, NotStarted };
    enum class Outcome { Started, NotVerified, NotStarted };

    // newerKnown: an earlier window of this run already found a newer build.
    explicit UpdateWorkflow(bool newerKnown) : state_(newerKnown ? State::Newer : State::Idle), newer_(newerKnown) {}

    State Current() const { return state_; }
    Failure LastFailure() const { return failure_; }
    bool Busy() const {
        return state_ == State::Checking || state_ == State::Downloading || state_ == State::Verifying;
    }
    // A check may start unless work runs, or a newer build was just found (the download is the next step).
    bool CanCheck() const {
        return !Busy() && !closing_ && state_ != State::Installing && !(state_ == State::Newer && checked_);
    }
    // Only a newer build that a check found offers a download.
    bool CanDownload() const {
        return !Busy() && !closing_ && newer_ && (state_ == State::Newer || state_ == State::Failed);
    }
    bool Closing() const { return closing_; }

    bool StartCheck();
    // succeeded: a version file and the news arrived; newer: their build is newer than the running one.
    void CheckEnded(bool succeeded, bool newer);
    bool StartDownload();
    void DownloadEnded(bool succeeded);  // then Verifying, or Failed
    void InstallEnded(Outcome outcome);  // then Installing, or Failed
    // The download or its check ended without an outcome (it failed, or was cancelled): then Failed.
    void InstallAbandoned();
    // True when the window may close now; otherwise the running work is to be stopped, and the window closes
    // when it has ended (WorkStopped then returns true).
    bool RequestClose();
    bool WorkStopped() const { return closing_ && !Busy(); }

private:
    void Fail(Failure failure);

    State state_;
    Failure failure_ = Failure::None;
    bool newer_;
    bool checked_ = false;  // a check of this window found the newer build
    bool closing_ = false;
};

}  // namespace hc
