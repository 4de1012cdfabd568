#pragma once
#include <windows.h>

#include <functional>

namespace hc {

// The program's long-lived windows as the rest of the program reaches them. Each is implemented by its window
// class and handed to the shell once it exists; until then the shell behaves as if the window were closed.

class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual bool IsVisible() = 0;
    // Hides it as its own close does (the settings are saved then).
    virtual void Close() = 0;
    // Shows it in front, refreshed; the caller has already passed the unhide gate.
    virtual void Open() = 0;
};

class TrayView {
public:
    virtual ~TrayView() = default;
    // Adds or removes the notification-area icon; adding also ends stealth mode's hiding of it.
    virtual void SetIconActive(bool active) = 0;
};

class PanicButtonView {
public:
    virtual ~PanicButtonView() = default;
    virtual HWND Window() = 0;  // null when it does not exist
    virtual bool IsShown() = 0;
    virtual void Show() = 0;
    virtual void Close() = 0;  // hides it
    // The Options page's slider position, 0 (opaque) to 10 (invisible).
    virtual void SetTransparency(int position) = 0;
    // Called with the new state whenever the button is shown or closed, whoever did it.
    virtual void OnShownChanged(std::function<void(bool shown)> listener) = 0;
    // The last foreground window of another program, recorded while the button is shown.
    virtual HWND LastActiveHandle() = 0;
    // A dispatch started by the button's own click stops the recording until it ends.
    virtual void DetachIdleHandler() = 0;
    virtual void AttachIdleHandler() = 0;
};

class AboutView {
public:
    virtual ~AboutView() = default;
    virtual void CloseIfOpen() = 0;
};

}  // namespace hc
