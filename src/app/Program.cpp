#include "app/Program.h"

#include <commctrl.h>

#include <algorithm>

#include "app/SplashWindow.h"
#include "hotkeys/HotkeyDialog.h"
#include "mainwindow/MainWindow.h"
#include "panic/PanicButton.h"
#include "platform/CrashGuard.h"
#include "platform/Processes.h"
#include "settings/SettingsStore.h"
#include "tray/AboutWindow.h"
#include "tray/TrayIcon.h"

namespace hc {

namespace {
// Long enough to read "Loading..."; the message loop keeps running meanwhile, so hotkeys still work.
constexpr DWORD kSplashMinimumMs = 800;

void PumpMessagesFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
}  // namespace

Program::Program()
    : journal_(processes::BootTime()),
      visibleWindows_(windowSystem_, processSystem_, kMainWindowTitle),
      shell_([this] { return controller_ ? controller_->Handle() : nullptr; },
             [this] { return hotkeyDialog_ ? hotkeyDialog_->Handle() : nullptr; }),
      switches_(administratorProbe_),
      cleanup_(settings_, audio_, cleanupServices_),
      engine_(EngineParts{windowSystem_, processSystem_, visibleWindows_, settings_, shell_, switches_, cleanup_,
                          passwords_, journal_}),
      dispatcher_(engine_, settings_, shell_, cleanup_, passwords_, decoyLauncher_) {}

Program::~Program() = default;

int RunMessageLoop(const std::function<bool(MSG&)>& preTranslate) {
    MSG msg;
    BOOL result;
    while ((result = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (result == -1) return 1;
        if (preTranslate && preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int Program::Run() {
    auto instance = processes::CreateInstanceMutex(kInstanceMutexName);
    if (instance.alreadyRunning) return 0;  // another instance runs: end silently
    // Without the mutex the program still runs; a second instance just would not be stopped.
    instanceMutex_ = std::move(instance.handle);
    com_.emplace();
    crash::OnUnhandledFailure([](void* engine) { static_cast<WindowEngine*>(engine)->ShowEverythingForCrash(); },
                              &engine_);
    if (!StartUp()) return 1;
    // Every way out ends with the controller's close, which saves the settings and allows the Task Manager again.
    return RunMessageLoop([this](MSG& msg) { return mainWindow_ && mainWindow_->PreTranslate(msg); });
}

bool Program::StartUp() {
    messages_.SetBeforeShowing([this] { CloseSplash(); });
    // No other instance runs now, so a policy an earlier run left behind is needed by nobody.
    RemoveLeftoverTaskManagerPolicy();

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);

    splash_ = std::make_unique<TSplash_f>(LoadSilentStart(SettingsStore()));
    splash_->ShowUnlessSilent();
    const DWORD splashShownAt = GetTickCount();

    controller_ = std::make_unique<TForm2>(
        ControllerParts{hotkeyService_, messages_, dispatcher_, engine_, settings_, switches_, runKeys_,
                        iconPicker_, processes::OwnExecutablePath()},
        [this] { ShowHotkeyDialog(); });
    if (!controller_->Handle()) return false;
    shell_.SetTray(&controller_->JvTrayIcon1());
    shell_.SetAbout(&controller_->About());
    configuration_ = ConfigurationSetup(CommonAppDataFolder());
    CreateWindows();
    closeRequest_ = std::make_unique<CloseRequestWindow>([this] { return ExitForSetup(); });

    if (splash_) splash_->PaintNow();
    KeepOffTaskbar(controller_->Handle());
    if (instanceMutex_) ReleaseMutex(instanceMutex_.get());
    FinishSplash(splashShownAt);
    passwords_.ReportStoreAtStartUp();  // before any window waits behind the password
    RecoverHiddenWindows();
    // The main window lists hidden windows: not while recovered ones stay behind a password the user declined.
    const bool protectedWindows = settings_.cbPassword && !engine_.Hidden().empty();
    if (mainWindow_ && !settings_.cbSilent && !protectedWindows) mainWindow_->ShowAtStart();
    return true;
}

void Program::RecoverHiddenWindows() {
    // Gone windows are kept aside, not adopted; the rest come back the way the unhide key brings them.
    const HiddenWindowList recovered = journal_.TakeOver(windowSystem_, processSystem_);
    if (recovered.empty()) return;
    engine_.AdoptHidden(recovered);
    dispatcher_.RecoverAtStart();
}

void Program::CreateWindows() {
    // What the main window's creation does: load the password and the settings the rest of the program reads.
    password_.Load();
    SettingsDefaults defaults;
    defaults.panicLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    defaults.panicTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    settings_ = LoadSettings(SettingsStore(), defaults);
    controller_->ApplyStoredIcon();

    MainWindowHooks hooks;
    hooks.btnEditHotKEyClick = [this] {
        if (hotkeyDialog_) hotkeyDialog_->ShowModal(mainWindow_ ? mainWindow_->Handle() : nullptr);
    };
    hooks.Save = [this] { SaveSettingsNow(); };
    hooks.PassBtnClick = [this] { passwords_.Passwords1Click(mainWindow_ ? mainWindow_->Handle() : nullptr); };
    hooks.cbPasswordTicked = [this] {
        return passwords_.RequirePasswordTicked(mainWindow_ ? mainWindow_->Handle() : nullptr);
    };
    hooks.btnUpdateClick = [this] {
        if (updateCommand_) updateCommand_->Checkforupdates1Click();
    };
    const std::wstring exe = processes::OwnExecutablePath();
    const std::wstring welcome = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"images\\Index.html";
    mainWindow_ = std::make_unique<TMain_f>(controller_->Handle(), settings_, engine_, themes_, std::move(hooks),
                                            welcome);
    shell_.SetMainWindow(mainWindow_.get());
    controller_->SetMainWindow(mainWindow_.get());
    hotkeyDialog_ = std::make_unique<THotKey_f>(
        settings_, messages_, hotkeyService_, [this](Sender sender) { dispatcher_.DoHotKey(sender); },
        [this](HotkeyPair keys) { controller_->DefaultKeysStandAsideFor(keys.hide, keys.unhide); });
    dispatcher_.SetCustomHotkeys(hotkeyDialog_.get());
    panicButton_ = std::make_unique<TPanic_f>(settings_, dispatcher_, engine_, mainWindow_.get(),
                                              [this] { controller_->ExitCommand(); });
    shell_.SetPanicButton(panicButton_.get());
    controller_->SetPanicButton(panicButton_.get());
    mainWindow_->SetPanicButton(panicButton_.get());
    CreateUpdateCheck();
    controller_->SetCheckForUpdates([this] { updateCommand_->Checkforupdates1Click(); });
}

void Program::CreateUpdateCheck() {
    updateSession_ = std::make_unique<UpdateSession>(
        RunningVersion(), CurrentUpdateAddresses(),
        PrivateUpdatePaths(), installerVerifier_, installerStarter_);
    // Closing the window shows the main window, through the password gate.
    updateCommand_ = std::make_unique<UpdateCommand>(*updateSession_, &options_, messages_,
                                                     TUpdate_f::Callbacks{[this] { OpenMainWindowThroughGate(); },
                                                                          [this] { ExitForSetup(); }});
}

void Program::OpenMainWindowThroughGate() {
    if (mainWindow_ && dispatcher_.Gate().MayShowHidden(controller_->Handle())) mainWindow_->Open();
}

void Program::SaveSettingsNow() {
    SettingsStore store;
    // Nothing is reported: a close or an exit goes on either way, and the entries stored before stay.
    SaveSettings(store, settings_);
}

void Program::ShowHotkeyDialog() {
    CloseSplash();  // the splash is topmost: the dialog would open behind it
    if (hotkeyDialog_) hotkeyDialog_->ShowModal(nullptr);
}

// A setup (ours, or the update's installer) replaces the program: end as the tray's exit does, without its question.
bool Program::ExitForSetup() { return controller_ && controller_->ExitForSetup(); }

void Program::FinishSplash(DWORD shownAt) {
    // In slices: a box shown meanwhile closes the splash, and then there is nothing left to wait for.
    while (splash_ && !splash_->isSilent() && GetTickCount() - shownAt < kSplashMinimumMs)
        PumpMessagesFor(std::min<DWORD>(50, kSplashMinimumMs - (GetTickCount() - shownAt)));
    CloseSplash();
}

void Program::CloseSplash() { splash_.reset(); }

}  // namespace hc
