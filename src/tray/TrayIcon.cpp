#include "tray/TrayIcon.h"

#include "platform/NotifyIcon.h"

namespace hc {

TrayIcon::~TrayIcon() {
    if (active_) notifyicon::Remove(owner_, kIconId);
}

void TrayIcon::SetIconActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active) {
        Add();
    } else {
        notifyicon::Remove(owner_, kIconId);
    }
}

void TrayIcon::SetIcon(HICON icon) {
    icon_ = icon;
    if (active_) notifyicon::SetIcon(owner_, kIconId, icon_);
}

void TrayIcon::OnTaskbarCreated() {
    if (active_) Add();
}

void TrayIcon::Add() {
    const notifyicon::AddResult result = notifyicon::Add(owner_, kIconId, callbackMessage_, icon_);
    // A shell that did not restart still holds the icon; then it only needs the current picture.
    if (!result.added) {
        notifyicon::SetIcon(owner_, kIconId, icon_);
        return;
    }
    version4_ = result.version4;
}

}  // namespace hc
