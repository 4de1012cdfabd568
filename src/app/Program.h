#pragma once
#include <memory>

#include "app/ControllerWindow.h"
#include "platform/Messages.h"
#include "app/ProgramShell.h"
#include "engine/Dispatcher.h"
#include "engine/ShellDecoyLauncher.h"
#include "engine/VisibleWindowList.h"
#include "engine/WindowEngine.h"
#include "platform/Handles.h"
#include "platform/Hotkeys.h"
#include "platform/WindowSystem.h"
#include "settings/Configuration.h"
#include "settings/Settings.h"

namespace hc {

class TSplash_f;
class THotKey_f;
class TPanic_f;

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
    void FinishSplash(std::unique_ptr<TSplash_f> splash, DWORD shownAt);
    void ShowHotkeyDialog();

    UniqueHandle instanceMutex_;
    Win32WindowSystem windowSystem_;
    Win32HotkeyService hotkeyService_;
    Win32Messages messages_;
    Configuration configuration_;
    Settings settings_;
    std::wstring helpFile_;

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
    std::unique_ptr<TPanic_f> panicButton_;
};

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace hc
