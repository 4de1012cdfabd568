#pragma once
#include <windows.h>

#include <functional>

#include "ui/DialogTemplate.h"
#include "ui/Window.h"

namespace hc {

// Runs the dialog's own message loop until done() or the program is asked to end (the quit request is posted
// again for the main loop).
void RunDialogLoop(HWND dialog, const std::function<bool()>& done);

}  // namespace hc
