#pragma once
#include <windows.h>

namespace hc::notifyicon {

// The message the shell broadcasts when it starts (again): icons added before are gone then.
UINT TaskbarCreatedMessage();

// Adds an icon without tooltip that reports mouse events to the owner as callbackMessage. The result says whether
// the icon was added and whether the shell took NOTIFYICON_VERSION_4 (event in LOWORD(lParam)).
struct AddResult {
    bool added = false;
    bool version4 = false;
};
AddResult Add(HWND owner, UINT id, UINT callbackMessage, HICON icon);
bool SetIcon(HWND owner, UINT id, HICON icon);
bool Remove(HWND owner, UINT id);

}  // namespace hc::notifyicon
