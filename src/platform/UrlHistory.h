#pragma once
#include <windows.h>

namespace hc::urlhistory {

// Clears the URL history store (the Internet history), with the hourglass cursor meanwhile. The store's
// answer, or the failure to reach it. COM must be initialised on this thread.
HRESULT ClearAll();

}  // namespace hc::urlhistory
