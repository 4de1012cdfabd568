#include "platform/NotifyIcon.h"

#include <shellapi.h>

namespace hc::notifyicon {

namespace {
NOTIFYICONDATAW Data(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = id;
    return data;
}
}  // namespace

UINT TaskbarCreatedMessage() { return RegisterWindowMessageW(L"TaskbarCreated"); }

AddResult Add(HWND owner, UINT id, UINT callbackMessage, HICON icon) {
    NOTIFYICONDATAW data = Data(owner, id);
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    AddResult result;
    result.added = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (!result.added) return result;
    data.uVersion = NOTIFYICON_VERSION_4;
    result.version4 = Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
    return result;
}

bool SetIcon(HWND owner, UINT id, HICON icon) {
    NOTIFYICONDATAW data = Data(owner, id);
    data.uFlags = NIF_ICON;
    data.hIcon = icon;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool Remove(HWND owner, UINT id) {
    NOTIFYICONDATAW data = Data(owner, id);
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

}  // namespace hc::notifyicon
