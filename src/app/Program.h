#pragma once
#include <memory>
#include <optional>

#include "app/CloseRequestWindow.h"
#include "app/ProgramShell.h"
#include "app/StartupSteps.h"
#include "cleanup/CleanupOperations.h"
#include "cleanup/TaskManagerSwitch.h"
#include "engine/Dispatcher.h"
#include "engine/Journal.h"
#include "engine/ShellDecoyLauncher.h"
#include "engine/VisibleWindowList.h"
#include "engine/WindowEngine.h"
#include "password/PasswordProtection.h"
#include "password/PasswordStore.h"
#include "platform/Handles.h"
#include "platform/Hotkeys.h"
#include "platform/Icons.h"
#include "platform/Messages.h"
#include "platform/Processes.h"
#include "platform/RunKeys.h"
#include "platform/SerialWorker.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"
#include "settings/Configuration.h"
#include "settings/Options.h"
#include "settings/Settings.h"
#include "settings/Statistics.h"
#include "tray/ControllerWindow.h"
#include "ui/Theme.h"
#include "update/UpdateCommand.h"

namespace hc {

class TSplash_f;
class THotKey_f;
class TMain_f;
class TPanic_f;

// The main window as the rest of the program reaches it: made the first time it is opened. Until then it is
// simply not visible, and closing it does nothing.
class MainWindowOnDemand final : public MainWindowView {
public:
    explicit MainWindowOnDemand(std::function<MainWindowView*()> make) : make_(std::move(make)) {}
    void Made(MainWindowView* window) { window_ = window; }
    bool IsVisible() override { return window_ && window_->IsVisible(); }
    void Close() override {
        if (window_) window_->Close();
    }
    void Open() override {
        if (MainWindowView* window = window_ ? window_ : make_()) window->Open();
    }

private:
    std::function<MainWindowView*()> make_;
    MainWindowView* window_ = nullptr;
};

// The composition root: creates every long-lived object once, in the start-up order, and runs the program.
// What the panic key needs comes first; what only the user interface needs is left to the running message loop.
class Program {
public:
    Program();
    ~Program();
    // The whole run: single-instance check, start-up, message loop. Returns the exit code.
    int Run();
    // What every "Check for updates..." control calls; null until start-up has made it.
    UpdateCommand* Updates() { return updateCommand_.get(); }

private:
    bool StartUp();
    void ShowHiddenForCrash() noexcept;
    void TakeOverJournal();
    void LoadSettingsAndPassword();
    void AddWindowSteps();
    void ShowSplash();
    THotKey_f& HotkeyDialog();
    TMain_f& MainWindow();
    MainWindowView* MakeMainWindow();
    void CreatePanicButton();
    void FinishStartUp();
    void CloseSplash();
    void ShowHotkeyDialog();
    void CreateUpdateCheck();
    // The main window's save; it also runs when the program ends, however it ends.
    bool SaveSettingsNow();
    void OpenMainWindowThroughGate();
    bool ExitForSetup();

    UniqueHandle instanceMutex_;
    Win32WindowSystem windowSystem_;
    Win32ProcessSystem processSystem_;
    ShellIconSource iconSource_;
    Win32HotkeyService hotkeyService_;
    Win32Messages messages_;
    Win32RunKeys runKeys_;
    ShellIconPicker iconPicker_;
    Configuration configuration_;
    Settings settings_;

    RegistryJournal journal_;
    VisibleWindowList visibleWindows_;
    WindowShell shell_;
    TokenAdministratorProbe administratorProbe_;
    TaskManagerSwitch switches_;
    SystemAudioOutputs audio_;
    SystemCleanupServices cleanupServices_;
    CleanupOperations cleanup_;
    PasswordStore passwordStore_;
    UnhidePassword password_{passwordStore_};
    PasswordProtection passwords_{password_, passwordStore_, messages_, settings_};
    ShellDecoyLauncher decoyLauncher_;
    WindowEngine engine_;
    PrivacyDispatcher dispatcher_;

    Themes themes_;
    // Before every window that holds it: the controller and the Panic Button outlive nothing they point to.
    MainWindowOnDemand mainWindowView_{[this] { return MakeMainWindow(); }};
    std::unique_ptr<TForm2> controller_;
    std::unique_ptr<TMain_f> mainWindow_;
    std::unique_ptr<THotKey_f> hotkeyDialog_;
    std::unique_ptr<TSplash_f> splash_;
    DWORD splashShownAt_ = 0;
    bool passwordKnown_ = false;  // the settings and the password are read
    StartupSteps steps_;
    SerialWorker loader_;  // the common controls, loaded beside the message loop

    TOptions options_;
    TStatistics statistics_;
    AuthenticodeVerifier installerVerifier_;
    ShellInstallerStarter installerStarter_;
    std::unique_ptr<UpdateSession> updateSession_;
    std::unique_ptr<UpdateCommand> updateCommand_;
    std::unique_ptr<TPanic_f> panicButton_;
    std::unique_ptr<CloseRequestWindow> closeRequest_;
};

// Runs the message loop until WM_QUIT; returns its exit code. preTranslate may take a message first (the main
// window's keyboard handling); idle runs whenever no message waits and says how long the loop may sleep before
// it asks again (INFINITE: until the next message).
int RunMessageLoop(const std::function<bool(MSG&)>& preTranslate = {}, const std::function<DWORD()>& idle = {});

}  // namespace hc
