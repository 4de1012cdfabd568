#pragma once
#include <memory>

#include "update/UpdateSession.h"
#include "update/UpdateWindow.h"

namespace hc {

// The one way into the update window, for every "Check for updates..." control: opens the window, or brings
// the open one to the front. It owns the window and is the only one that destroys it.
class UpdateCommand {
public:
    UpdateCommand(UpdateSession& session, const TOptions* options, Messages& messages, TUpdate_f::Callbacks callbacks)
        : session_(session), options_(options), messages_(messages), callbacks_(std::move(callbacks)) {}

    // Returns when the window has closed (or at once when one is already open).
    void Checkforupdates1Click();
    // The open window, or null.
    TUpdate_f* Current() const { return current_.get(); }

private:
    UpdateSession& session_;
    const TOptions* options_;
    Messages& messages_;
    TUpdate_f::Callbacks callbacks_;
    std::unique_ptr<TUpdate_f> current_;
};

}  // namespace hc
