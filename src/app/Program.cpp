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
constexpr wchar_t kSettingsNotSaved[] =
    L"Your settings could not be saved. The settings saved before stay in force until the next save.";
// Long enough to read "Loading..."; the message loop runs meanwhile, so the hotkeys work.
constexpr DWORD kSplashMinimumMs = 800;
}  // namespace

Program::Program()
    : journal_(processes::BootTime()),
      visibleWindows_(windowSystem_, processSystem_),
      shell_([this] { return controller_ ? controller_->Handle() : nullptr; },
             [this] { return hotkeyDialog_ ? hotkeyDialog_->Handle() : nullptr; }),
      switches_(administratorProbe_),
      cleanup_(settings_, audio_, cleanupServices_),
      engine_(EngineParts{windowSystem_, processSystem_, visibleWindows_, settings_, shell_, switches_, cleanup_,
                          passwords_, journal_}),
      dispatcher_(engine_, settings_, shell_, cleanup_, passwords_, decoyLauncher_) {}

Program::~Program() { crash::Disarm(); }

int RunMessageLoop(const std::function<bool(MSG&)>& preTranslate, const std::function<DWORD()>& idle) {
    MSG msg;
    BOOL result;
    for (;;) {
        // Idle work only while nothing waits: a queued hotkey is never held up by it.
        if (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            const DWORD wait = idle();
            if (wait != INFINITE) {
                if (wait > 0) MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
                continue;
            }
        }
        if ((result = GetMessageW(&msg, nullptr, 0, 0)) == 0) break;
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
    crash::OnUnhandledFailure([](void* program) { static_cast<Program*>(program)->ShowHiddenForCrash(); }, this);
    // Before any window or hotkey exists: nothing this run does can overwrite the record of an earlier one.
    TakeOverJournal();
    if (!StartUp()) return 1;
    // Every way out ends with the controller's close, which saves the settings and allows the Task Manager again.
    return RunMessageLoop([this](MSG& msg) { return mainWindow_ && mainWindow_->PreTranslate(msg); },
                          [this] { return steps_.RunDue(); });
}

void Program::ShowHiddenForCrash() noexcept {
    // Until the settings and the password are read, the password counts as required: nothing is shown, and the
    // journal stays as it is for the next start.
    if (passwordKnown_) engine_.ShowEverythingForCrash();
}

void Program::TakeOverJournal() {
    // Listed at once, so every way back asks for the password; gone windows are kept aside, not adopted. The rest
    // are shown (or asked about) once start-up is done.
    const HiddenWindowList recovered = journal_.TakeOver(windowSystem_, processSystem_);
    if (!recovered.empty()) engine_.AdoptHidden(recovered);
}

void Program::LoadSettingsAndPassword() {
    // What the main window's creation does in the original order: the rest of the program reads these.
    password_.Load();
    SettingsDefaults defaults;
    defaults.panicLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    defaults.panicTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const SettingsStore store;
    settings_ = LoadSettings(store, defaults);
    // A damaged "UsePW" is no "0" that anybody chose: with a password stored, it counts as ticked.
    if (password_.State() != StoredPasswordState::None && store.IsUnreadableBool(kStartUpSection, L"UsePW"))
        settings_.cbPassword = true;
    passwordKnown_ = true;
}

bool Program::StartUp() {
    messages_.SetBeforeShowing([this] { CloseSplash(); });
    // No other instance runs now, so a policy an earlier run left behind is needed by nobody.
    RemoveLeftoverTaskManagerPolicy();
    LoadSettingsAndPassword();
    // Made before the controller and shown only once the loop runs: the program has started when the controller
    // exists and the splash is gone.
    splash_ = std::make_unique<TSplash_f>(settings_.cbSilent);

    controller_ =
        std::make_unique<TForm2>(ControllerParts{hotkeyService_, messages_, dispatcher_, engine_, settings_, switches_,
                                                 runKeys_, iconPicker_, processes::OwnExecutablePath()},
                                 [this] { ShowHotkeyDialog(); });
    if (!controller_->Handle()) return false;
    KeepOffTaskbar(controller_->Handle());
    shell_.SetTray(&controller_->JvTrayIcon1());
    shell_.SetAbout(&controller_->About());
    shell_.SetMainWindow(&mainWindowView_);
    controller_->SetMainWindow(&mainWindowView_);
    controller_->SetCheckForUpdates([this] {
        if (updateCommand_) updateCommand_->Checkforupdates1Click();
    });
    AddWindowSteps();
    return true;
}

// In the order the user sees them; each step runs when no message waits.
void Program::AddWindowSteps() {
    steps_.Add([this] { controller_->StartTrayIcon(); });
    // Loading the common controls takes as long as several steps: on another thread, while the keys work on.
    steps_.Add([this] {
        loader_.Post([] {
            INITCOMMONCONTROLSEX controls{};
            controls.dwSize = sizeof(controls);
            controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS | ICC_BAR_CLASSES;
            InitCommonControlsEx(&controls);
        });
    });
    // Once they are loaded: meanwhile the splash's picture would wait for the loader, and a key pressed with it.
    steps_.AddWhenReady([this] { ShowSplash(); }, [this] { return loader_.Idle(); });
    steps_.Add([this] { HotkeyDialog(); });  // the user's own keys live on its window
    steps_.Add([this] { controller_->ApplyStoredIcon(); });
    steps_.Add([this] { CreatePanicButton(); });
    steps_.Add([this] {
        configuration_ = ConfigurationSetup(CommonAppDataFolder());
        CreateUpdateCheck();
        closeRequest_ = std::make_unique<CloseRequestWindow>([this] { return ExitForSetup(); });
    });
    // Made while the splash still shows, shown once it is gone.
    if (!settings_.cbSilent) steps_.Add([this] { MainWindow(); });
    if (settings_.cbSilent)
        steps_.Add([this] { FinishStartUp(); });
    else
        steps_.Add([this] { FinishStartUp(); }, [this] { return splashShownAt_ + kSplashMinimumMs; });
}

void Program::ShowSplash() {
    if (!splash_) return;
    splash_->ShowUnlessSilent();
    splashShownAt_ = GetTickCount();
}

void Program::FinishStartUp() {
    if (instanceMutex_) ReleaseMutex(instanceMutex_.get());
    CloseSplash();
    passwords_.ReportStoreAtStartUp();  // before any window waits behind the password
    dispatcher_.RecoverAtStart();
    // The main window lists hidden windows: not while recovered ones stay behind a password the user declined.
    const bool protectedWindows = settings_.cbPassword && !engine_.Hidden().empty();
    // Nor after a panic during start-up: it would tell anyone what just happened.
    if (!settings_.cbSilent && !protectedWindows && !dispatcher_.HasActed()) MainWindow().ShowAtStart();
}

THotKey_f& Program::HotkeyDialog() {
    if (!hotkeyDialog_) {
        hotkeyDialog_ = std::make_unique<THotKey_f>(
            settings_, messages_, hotkeyService_, [this](Sender sender) { dispatcher_.DoHotKey(sender); },
            [this](HotkeyPair keys) { controller_->DefaultKeysStandAsideFor(keys.hide, keys.unhide); });
        dispatcher_.SetCustomHotkeys(hotkeyDialog_.get());
    }
    return *hotkeyDialog_;
}

MainWindowView* Program::MakeMainWindow() { return &MainWindow(); }

TMain_f& Program::MainWindow() {
    if (mainWindow_) return *mainWindow_;
    MainWindowHooks hooks;
    hooks.btnEditHotKEyClick = [this] { HotkeyDialog().ShowModal(mainWindow_ ? mainWindow_->Handle() : nullptr); };
    hooks.Save = [this](bool byUser) {
        // Said only to a user who closed the window: a panic or the exit must show nothing.
        if (!SaveSettingsNow() && byUser) messages_.Error(kSettingsNotSaved);
    };
    hooks.PassBtnClick = [this] { passwords_.Passwords1Click(mainWindow_ ? mainWindow_->Handle() : nullptr); };
    hooks.cbPasswordTicked = [this] {
        return passwords_.RequirePasswordTicked(mainWindow_ ? mainWindow_->Handle() : nullptr);
    };
    hooks.btnUpdateClick = [this] {
        if (updateCommand_) updateCommand_->Checkforupdates1Click();
    };
    hooks.MayShowHidden = [this](HWND owner) { return dispatcher_.Gate().MayShowHidden(owner); };
    const std::wstring exe = processes::OwnExecutablePath();
    const std::wstring welcome = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"images\\Index.html";
    mainWindow_ =
        std::make_unique<TMain_f>(controller_->Handle(), settings_, engine_, themes_, std::move(hooks), welcome);
    mainWindow_->SetPanicButton(panicButton_.get());
    mainWindowView_.Made(mainWindow_.get());
    return *mainWindow_;
}

void Program::CreatePanicButton() {
    panicButton_ = std::make_unique<TPanic_f>(settings_, dispatcher_, engine_, &mainWindowView_,
                                              [this] { controller_->ExitCommand(); });
    // Made after a panic during start-up, it stays away as that panic would have taken it away.
    if (dispatcher_.HasActed() && settings_.fHidePanicBtn) panicButton_->Close();
    shell_.SetPanicButton(panicButton_.get());
    controller_->SetPanicButton(panicButton_.get());
    if (mainWindow_) mainWindow_->SetPanicButton(panicButton_.get());
}

void Program::CreateUpdateCheck() {
    updateSession_ = std::make_unique<UpdateSession>(RunningVersion(), CurrentUpdateAddresses(), PrivateUpdatePaths(),
                                                     installerVerifier_, installerStarter_);
    // Closing the window shows the main window, through the password gate.
    updateCommand_ = std::make_unique<UpdateCommand>(
        *updateSession_, &options_, messages_,
        TUpdate_f::Callbacks{[this] { OpenMainWindowThroughGate(); }, [this] { ExitForSetup(); }});
}

void Program::OpenMainWindowThroughGate() {
    if (dispatcher_.Gate().MayShowHidden(controller_->Handle())) mainWindowView_.Open();
}

bool Program::SaveSettingsNow() {
    SettingsStore store;
    return SaveSettings(store, settings_);
}

void Program::ShowHotkeyDialog() {
    CloseSplash();  // the splash is topmost: the dialog would open behind it
    HotkeyDialog().ShowModal(nullptr);
}

// A setup (ours, or the update's installer) replaces the program: end as the tray's exit does, without its question.
bool Program::ExitForSetup() { return controller_ && controller_->ExitForSetup(); }

void Program::CloseSplash() { splash_.reset(); }

}  // namespace hc
