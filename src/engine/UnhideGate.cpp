#include "engine/UnhideGate.h"

#include "settings/Settings.h"

namespace hc {

bool UnhideGate::MayShowHidden(HWND promptOwner) {
    if (!settings_.cbPassword || hidden_.empty()) return true;
    // A second request while the prompt is open is ignored; the open prompt still decides.
    if (prompt_.IsOpen()) return false;
    return prompt_.AskForPassword(promptOwner);
}

}  // namespace hc
