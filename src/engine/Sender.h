#pragma once

namespace hc {

// Who started a dispatch: a default hotkey (None), the Panic Button, or one of the user's own hotkeys.
enum class Sender { None, PanicButton, AppHkHide, AppHkUnHide };

}  // namespace hc
