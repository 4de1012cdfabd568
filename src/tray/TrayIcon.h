#pragma once
#include <windows.h>

#include <atomic>

#include "platform/SerialWorker.h"
#include "ui/Views.h"

namespace hc {

// The notification-area icon. Inactive means removed on purpose (stealth mode, a privacy action); only then
// does the shell's restart leave it away. The shell is told on a thread of the icon's own, in order: a shell
// that is slow to answer (at logon, or starting its tray) never holds up a panic key. Until Start the icon only
// notes what it is asked, so that starting its thread waits until the panic keys work.
class TrayIcon final : public TrayView {
public:
    static constexpr UINT kIconId = 1;

    TrayIcon(HWND owner, UINT callbackMessage) : owner_(owner), callbackMessage_(callbackMessage) {}
    ~TrayIcon() override;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Tells the shell what has been asked so far, and from now on every change as it comes.
    void Start();
    void SetIconActive(bool active) override;
    bool IsActive() const { return active_; }
    // The icon shown from now on; the caller keeps it alive while it is shown.
    void SetIcon(HICON icon);
    HICON Icon() const { return icon_; }
    // The shell started again and has forgotten every icon.
    void OnTaskbarCreated();
    // True when events arrive as NOTIFYICON_VERSION_4 sends them (WM_CONTEXTMENU for the right button).
    bool IsVersion4() const { return version4_; }
    // Returns once the shell has been told everything asked of it so far.
    void WaitForShell() { shell_.Drain(); }

private:
    void Add();
    // The shell gets a copy of the picture: the caller may replace and destroy its icon before the shell is told.
    void Tell(void (*call)(HWND, UINT, HICON, TrayIcon&));

    HWND owner_;
    UINT callbackMessage_;
    HICON icon_ = nullptr;
    bool active_ = false;
    bool started_ = false;
    std::atomic<bool> version4_{false};
    SerialWorker shell_;  // last: it finishes its calls before anything else goes
};

}  // namespace hc
