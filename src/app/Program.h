#pragma once
#include <memory>

#include "app/ControllerWindow.h"
#include "platform/Messages.h"
#include "app/ProgramShell.h"
#include "app/Theme.h"
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
class TMain_f;

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
    // The main window's save; it also runs when the program ends, however it ends.
    void SaveSettingsNow();

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

    Themes themes_;
    std::unique_ptr<TForm2> controller_;
    std::unique_ptr<TMain_f> mainWindow_;
    std::unique_ptr<THotKey_f> hotkeyDialog_;
};

// Runs the message loop until WM_QUIT; returns its exit code. preTranslate may take a message first (the main
// window's keyboard handling).
int RunMessageLoop(const std::function<bool(MSG&)>& preTranslate = {});

}  // namespace hc
