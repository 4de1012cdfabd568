#pragma once
#include <functional>

#include "engine/Collaborators.h"

namespace hc {

// The program's own parts as the engine reaches them. Windows that do not exist yet (the main window, the About
// window, the Panic Button, the tray icon) are simply not there to close or show.
class WindowShell final : public ProgramShell {
public:
    WindowShell(std::function<HWND()> controller, std::function<HWND()> hotkeyDialog)
        : controller_(std::move(controller)), hotkeyDialog_(std::move(hotkeyDialog)) {}

    bool IsMainWindowVisible() override { return false; }
    void CloseMainWindow() override {}
    void CloseAboutWindow() override {}
    void SetTrayIconActive(bool) override {}
    HWND PanicButtonWindow() override { return nullptr; }
    void ClosePanicButton() override {}
    HWND LastActiveHandle() override { return nullptr; }
    HWND ControllerWindow() override { return controller_(); }
    HWND HotkeyDialogWindow() override { return hotkeyDialog_(); }
    void DetachIdleHandler() override {}
    void AttachIdleHandler() override {}

private:
    std::function<HWND()> controller_;
    std::function<HWND()> hotkeyDialog_;
};

// Without administrator rights the Task Manager policy is never touched.
class NoSystemSwitches final : public SystemSwitches {
public:
    bool HasAdministratorRights() override { return false; }
    void SetTaskManagerDisabled(bool) override {}
};

// No clean-up step is available yet, so a privacy action cleans nothing.
class NoCleanupSteps final : public CleanupSteps {
public:
    void SetAudioMute(bool) override {}
    void DoOptions() override {}
};

// No password can be set yet, so unhiding is never held back by a prompt.
class NoUnhidePrompt final : public UnhidePrompt {
public:
    bool IsOpen() override { return false; }
    bool AskForPassword(HWND) override { return true; }
    void Cancel() override {}
};

}  // namespace hc
