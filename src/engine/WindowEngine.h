#pragma once
#include <windows.h>

#include <string>

#include "engine/Collaborators.h"
#include "engine/HiddenWindowList.h"
#include "engine/Sender.h"
#include "engine/VisibleWindowList.h"

namespace hc {

class WindowSystem;
struct Settings;

// Hiding, restoring and closing other programs' windows. Calls that touch another program's window never wait
// on it, so a program that stopped responding cannot stall a panic.
class WindowEngine {
public:
    WindowEngine(WindowSystem& windows, VisibleWindowList& visible, const Settings& settings, ProgramShell& shell,
                 SystemSwitches& switches, CleanupSteps& cleanup, UnhidePrompt& prompt);

    // Hides (show 0) or shows (otherwise) the window whose handle the text holds.
    void ShowHideWindow(int show, const std::wstring& handleText);
    bool DoHideAllWindows(int dlAction);
    bool DoHideActiveWindows(Sender sender, int dlAction);
    // Shows every hidden window in the order of hiding and empties the hidden list.
    void RestoreWindows();

    // The list menus: hide one visible window, show one hidden window, show all hidden windows.
    void HideSelectedWindow(size_t visibleIndex);
    void ShowSelectedWindow(size_t hiddenIndex);
    void ShowAllWindows();

    // Takes the program's own windows off the screen before a privacy action.
    void CloseApplicationWindows();
    bool DoCloseAllWindows(int dlAction);
    bool DoCloseActiveWindow(int dlAction);
    // Shows the hidden windows as the program ends; the entries stay.
    void IsExiting();
    // Brings a decoy that already runs to the front; true when its window is known.
    bool DoDecoyApp();

    const HiddenWindowList& Hidden() const { return hidden_; }
    VisibleWindowList& Visible() { return visible_; }

private:
    void CloseMainWindowIfVisible();
    HWND ActiveTarget(Sender sender);
    // Shows the entry's window unless it is one that restoring leaves hidden; the window shown, or null.
    HWND ShowAfterRestore(const HiddenWindow& entry);

    WindowSystem& windows_;
    VisibleWindowList& visible_;
    const Settings& settings_;
    ProgramShell& shell_;
    SystemSwitches& switches_;
    CleanupSteps& cleanup_;
    UnhidePrompt& prompt_;
    HiddenWindowList hidden_;
};

}  // namespace hc
