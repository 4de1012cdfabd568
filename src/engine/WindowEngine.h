#pragma once
#include <windows.h>

#include <string>

#include "engine/Collaborators.h"
#include "engine/HiddenWindowList.h"
#include "engine/Sender.h"
#include "engine/VisibleWindowList.h"

namespace hc {

class WindowSystem;
class ProcessSystem;
struct Settings;

// The engine's collaborators, so the list of them is written once.
struct EngineParts {
    WindowSystem& windows;
    ProcessSystem& processes;
    VisibleWindowList& visible;
    const Settings& settings;
    ProgramShell& shell;
    SystemSwitches& switches;
    CleanupSteps& cleanup;
    UnhidePrompt& prompt;
    HiddenJournal& journal;
};

// Hiding, restoring and closing other programs' windows. Calls that touch another program's window never wait
// on it, so a program that stopped responding cannot stall a panic. The program's own windows are never
// hidden or closed, and a window is recorded in the journal before it is hidden.
class WindowEngine {
public:
    explicit WindowEngine(const EngineParts& parts);

    // Hides (show 0) or shows (otherwise, without activating it) the window whose handle the text holds.
    void ShowHideWindow(int show, HWND window);
    bool DoHideAllWindows(int dlAction);
    // The window that an action on the active application works on: the Panic Button takes the window that
    // was in front before its click, everyone else the window in front now.
    HWND ActiveTarget(Sender sender);
    bool DoHideActiveWindows(Sender sender, int /*dlAction*/) { return HideActiveWindow(ActiveTarget(sender)); }
    bool HideActiveWindow(HWND target);
    // Shows every hidden window in the order of hiding, without activating any, then gives the foreground back
    // to the window that was in front at the hide. An entry that could not be shown stays listed.
    void RestoreWindows();

    // The list menus: hide one visible window, show one hidden window, show all hidden windows. Shown as the
    // restore shows them.
    void HideSelectedWindow(size_t visibleIndex);
    void ShowSelectedWindow(size_t hiddenIndex);
    void ShowAllWindows();

    // Takes the program's own windows off the screen before a privacy action: the main window, the prompt and
    // About through their own close, every other question as its Cancel, a window holding work until the restore.
    void CloseApplicationWindows();
    bool DoCloseAllWindows(int dlAction);
    bool DoCloseActiveWindow(Sender sender, int /*dlAction*/) { return CloseActiveWindow(ActiveTarget(sender)); }
    bool CloseActiveWindow(HWND target);
    // Shows the hidden windows as the program ends; the entries stay, and the journal keeps those whose show was
    // refused.
    void IsExiting();
    // Brings a decoy that already runs to the front; true when its window is known.
    bool DoDecoyApp();

    // Windows found hidden at start-up by an earlier run; they join the list as if hidden now.
    void AdoptHidden(const HiddenWindowList& recovered);
    // Called on the way down after a crash, asking nothing of anyone: without a password it shows what it can
    // and leaves in the journal only what it could not show; with one it shows nothing and leaves the journal.
    void ShowEverythingForCrash() noexcept;
    // Forgets entries from index on (they were hidden by a dispatch that failed) after showing them.
    void RestoreFrom(size_t index);

    const HiddenWindowList& Hidden() const { return hidden_; }
    // Other programs' windows, or the program's own that a panic put aside, wait for a restore.
    bool HasHiddenWindows() const { return !hidden_.empty() || !ownHidden_.empty(); }
    VisibleWindowList& Visible() { return visible_; }

private:
    void CloseMainWindowIfVisible();
    bool IsOwnWindow(HWND window);
    bool BelongsToItsProcess(const HiddenWindow& entry, HWND window);
    HiddenWindow EntryFor(HWND window, const std::wstring& title, const std::wstring& stamp, DWORD processId,
                          std::uint64_t creation);
    // Records first, then hides, the window in front last so the activation moves at most once.
    void RecordAndHide(std::vector<HiddenWindow> entries, HWND foreground);
    // Shows the entries [first, last) in the order of hiding; those that could not be shown stay listed in place.
    // The program's own windows come back when the whole list is shown.
    void ShowRange(size_t first, size_t last);
    void SaveJournal();
    void TakeOwnWindowsOffScreen();
    void GiveBackOwnWindows();

    WindowSystem& windows_;
    ProcessSystem& processes_;
    VisibleWindowList& visible_;
    const Settings& settings_;
    ProgramShell& shell_;
    SystemSwitches& switches_;
    CleanupSteps& cleanup_;
    UnhidePrompt& prompt_;
    HiddenJournal& journal_;
    HiddenWindowList hidden_;
    std::vector<HWND> ownHidden_;  // the program's windows holding work, hidden by a panic; never journalled
    HWND frontAtHide_ = nullptr;  // the window that had the foreground when the last panic hid it
};

}  // namespace hc
