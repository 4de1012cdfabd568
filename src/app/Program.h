#pragma once
#include <memory>
#include <optional>

#include "app/CloseRequestWindow.h"
#include "app/ControllerWindow.h"
#include "app/ProgramShell.h"
#include "engine/Dispatcher.h"
#include "engine/Journal.h"
#include "engine/ShellDecoyLauncher.h"
#include "engine/VisibleWindowList.h"
#include "engine/WindowEngine.h"
#include "platform/Com.h"
#include "platform/Handles.h"
#include "platform/Hotkeys.h"
#include "platform/Messages.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"
#include "settings/Configuration.h"
#include "settings/Settings.h"

namespace hc {

class TSplash_f;
class THotKey_f;

// The composition root: creates every long-lived object once, in the start-up order, and runs the program.
class Program {
public:
    Program();
    ~Program();
    // The whole run: single-instance check, start-up, message loop. Returns the exit code.
    int Run();

private:
    bool StartUp();
    void CreateWindows();
    void FinishSplash(DWORD shownAt);
    void CloseSplash();
    void RecoverHiddenWindows();
    void ShowHotkeyDialog();
    bool ExitForSetup();

    std::optional<ComApartment> com_;  // first in, last out: every window below may use COM
    UniqueHandle instanceMutex_;
    Win32WindowSystem windowSystem_;
    Win32ProcessSystem processSystem_;
    ShellIconSource iconSource_;
    Win32HotkeyService hotkeyService_;
    Win32Messages messages_;
    Configuration configuration_;
    Settings settings_;
    std::wstring helpFile_;

    RegistryJournal journal_;
    VisibleWindowList visibleWindows_;
    WindowShell shell_;
    NoSystemSwitches switches_;
    NoCleanupSteps cleanup_;
    NoUnhidePrompt prompt_;
    ShellDecoyLauncher decoyLauncher_;
    WindowEngine engine_;
    PrivacyDispatcher dispatcher_;

    std::unique_ptr<TForm2> controller_;
    std::unique_ptr<THotKey_f> hotkeyDialog_;
    std::unique_ptr<TSplash_f> splash_;
    std::unique_ptr<CloseRequestWindow> closeRequest_;
};

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace hc
