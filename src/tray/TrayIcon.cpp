#include "tray/TrayIcon.h"

#include "platform/NotifyIcon.h"

namespace hc {

TrayIcon::~TrayIcon() {
    if (started_ && active_) shell_.Post([owner = owner_] { notifyicon::Remove(owner, kIconId); });
}

void TrayIcon::Start() {
    if (started_) return;
    started_ = true;
    if (active_) Add();
}

void TrayIcon::SetIconActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (!started_) return;
    if (active) {
        Add();
    } else {
        shell_.Post([owner = owner_] { notifyicon::Remove(owner, kIconId); });
    }
}

void TrayIcon::SetIcon(HICON icon) {
    icon_ = icon;
    if (started_ && active_)
        Tell([](HWND owner, UINT, HICON copy, TrayIcon&) { notifyicon::SetIcon(owner, kIconId, copy); });
}

void TrayIcon::OnTaskbarCreated() {
    if (started_ && active_) Add();
}

void TrayIcon::Add() {
    Tell([](HWND owner, UINT callbackMessage, HICON copy, TrayIcon& self) {
        const notifyicon::AddResult result = notifyicon::Add(owner, kIconId, callbackMessage, copy);
        // A shell that did not restart still holds the icon; then it only needs the current picture.
        if (!result.added) {
            notifyicon::SetIcon(owner, kIconId, copy);
            return;
        }
        self.version4_ = result.version4;
    });
}

void TrayIcon::Tell(void (*call)(HWND, UINT, HICON, TrayIcon&)) {
    HICON copy = icon_ ? CopyIcon(icon_) : nullptr;
    // Without a copy the shell gets the caller's own picture, which it then must keep for a moment longer.
    shell_.Post([this, call, copy, picture = copy ? copy : icon_] {
        call(owner_, callbackMessage_, picture, *this);
        if (copy) DestroyIcon(copy);
    });
}

}  // namespace hc
