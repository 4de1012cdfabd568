#include "update/UpdateCommand.h"

#include "settings/Options.h"

namespace hc {

void UpdateCommand::Checkforupdates1Click() {
    if (current_) {
        current_->BringToFront();
        return;
    }
    current_ = std::make_unique<TUpdate_f>(session_, options_, messages_, callbacks_);
    current_->ShowModal();
    current_.reset();
    TrimMemory(options_);
}

}  // namespace hc
