#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace hc {

// What the listing rules look at, read once per window.
struct WindowFacts {
    std::wstring title;
    std::wstring className;  // the real window system fills it only for the shell's own windows, by handle
    bool visible = false;
    bool cloaked = false;     // kept off the screen by the compositor (another virtual desktop, a suspended app)
    bool toolWindow = false;  // WS_EX_TOOLWINDOW
    bool hasCaption = false;  // a title bar
    HWND owner = nullptr;
    DWORD processId = 0;
};

// The window manager as the logic sees it. Calls that touch another program's window never wait on it.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual std::vector<HWND> TopLevelWindows() = 0;  // in EnumWindows order
    virtual std::wstring Title(HWND window) = 0;      // at most 254 characters
    // Everything but the title and visibility, which the caller has already read (an untitled window without
    // an owner gets only its owner read).
    virtual void ReadFacts(HWND window, WindowFacts& facts) = 0;
    virtual bool IsVisible(HWND window) = 0;
    virtual bool Exists(HWND window) = 0;
    virtual DWORD ProcessId(HWND window) = 0;  // 0 when the window is gone
    virtual HWND Foreground() = 0;
    virtual void HideAsync(HWND window) = 0;
    // Hides it where it stands in the stacking, without moving the activation: a hide by ShowWindow puts the window
    // on top, so a hide-all turned the stacking upside down and the restore then showed from the bottom up. Not for
    // the window in front, whose activation must move on.
    virtual void HideInPlaceAsync(HWND window) = 0;
    // False when the window manager refused to pass the change on (the window is gone, its program's queue is
    // full, or its rights are above ours).
    virtual bool ShowAsync(HWND window, int showCommand) = 0;
    // Shows it and lets it take the foreground when its own thread gets to it: no waiting on a window that is
    // still being shown, and a hung program delays nobody.
    virtual bool ShowActivatedAsync(HWND window) = 0;
    // Without activation, in its own state and at its place in the stacking: windows given back one by one stack
    // as they did before they were hidden (HideInPlaceAsync left them there).
    virtual bool ShowInPlaceAsync(HWND window) = 0;
    virtual bool PostClose(HWND window) = 0;
    virtual bool BringToFront(HWND window) = 0;

    // The program's own windows: whether one holds work that a panic must hide and give back rather than close
    // (MarkAsHoldingWork), and closing one as its Cancel would, before this returns.
    virtual std::vector<HWND> OwnTopLevelWindows() = 0;  // those of the calling thread
    virtual bool HoldsWork(HWND window) = 0;
    // Tells a window holding work that a panic hid it (held) or that the restore gives it back: until then nothing
    // it does may come on the screen.
    virtual void HoldWork(HWND window, bool held) = 0;
    virtual void CloseAsCancel(HWND window) = 0;
};

// Marks one of the program's own windows as holding work (set once, where the window is created).
void MarkAsHoldingWork(HWND window);
// The message HoldWork sends such a window: wParam 1 when a panic hid it, 0 when the restore gives it back.
UINT HoldWorkMessage();

// Asks the compositor once whether `window` is cloaked. A process's first such question waits for the loader,
// which another thread holds while it loads a DLL; asked before that thread starts, no panic waits on it.
void PrepareCloakingQuery(HWND window);

// The real window manager.
class Win32WindowSystem final : public WindowSystem {
public:
    std::vector<HWND> TopLevelWindows() override;
    std::wstring Title(HWND window) override;
    void ReadFacts(HWND window, WindowFacts& facts) override;
    bool IsVisible(HWND window) override;
    bool Exists(HWND window) override;
    DWORD ProcessId(HWND window) override;
    HWND Foreground() override;
    void HideAsync(HWND window) override;
    void HideInPlaceAsync(HWND window) override;
    bool ShowAsync(HWND window, int showCommand) override;
    bool ShowActivatedAsync(HWND window) override;
    bool ShowInPlaceAsync(HWND window) override;
    bool PostClose(HWND window) override;
    bool BringToFront(HWND window) override;
    std::vector<HWND> OwnTopLevelWindows() override;
    bool HoldsWork(HWND window) override;
    void HoldWork(HWND window, bool held) override;
    void CloseAsCancel(HWND window) override;

private:
    // The shell's windows with their classes, found once per enumeration: a few lookups instead of reading
    // the class of every window.
    std::vector<std::pair<HWND, const wchar_t*>> shellWindows_;
};

constexpr int kMaxTitleLength = 254;

}  // namespace hc
