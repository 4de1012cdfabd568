#include "app/Program.h"

#include <commctrl.h>

#include <algorithm>

#include "app/SplashWindow.h"
#include "hotkeys/HotkeyDialog.h"
#include "platform/CrashGuard.h"
#include "platform/Processes.h"
#include "settings/SettingsStore.h"

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
      engine_(EngineParts{windowSystem_, processSystem_, visibleWindows_, settings_, shell_, switches_, cleanup_,
                          prompt_, journal_}),
      dispatcher_(engine_, settings_, shell_, cleanup_, prompt_, decoyLauncher_) {}

Program::~Program() = default;

int RunMessageLoop() {
    MSG msg;
    BOOL result;
    while ((result = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (result == -1) return 1;
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
    return RunMessageLoop();
}

bool Program::StartUp() {
    messages_.SetBeforeShowing([this] { CloseSplash(); });

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);

    splash_ = std::make_unique<TSplash_f>(LoadSilentStart(SettingsStore()));
    splash_->ShowUnlessSilent();
    const DWORD splashShownAt = GetTickCount();

    helpFile_ = HelpFilePath(processes::OwnExecutablePath());

    controller_ = std::make_unique<TForm2>(hotkeyService_, messages_, dispatcher_, [this] { ShowHotkeyDialog(); });
    if (!controller_->Handle()) return false;
    configuration_ = ConfigurationSetup(CommonAppDataFolder());
    CreateWindows();
    closeRequest_ = std::make_unique<CloseRequestWindow>([this] { return ExitForSetup(); });

    if (splash_) splash_->PaintNow();
    KeepOffTaskbar(controller_->Handle());
    if (instanceMutex_) ReleaseMutex(instanceMutex_.get());
    FinishSplash(splashShownAt);
    RecoverHiddenWindows();
    return true;
}

void Program::RecoverHiddenWindows() {
    const RegistryJournal::Loaded loaded = journal_.TakeOver();
    if (loaded.found != RegistryJournal::Found::Current) return;
    // Gone windows are dropped silently; the rest come back the way the unhide key brings them.
    engine_.AdoptHidden(StillHiddenWindows(loaded.entries, windowSystem_, processSystem_));
    dispatcher_.RecoverAtStart();
}

void Program::CreateWindows() {
    // What the main window's creation does: load the settings the rest of the program reads.
    SettingsDefaults defaults;
    defaults.panicLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    defaults.panicTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    settings_ = LoadSettings(SettingsStore(), defaults);
    hotkeyDialog_ = std::make_unique<THotKey_f>(settings_, messages_, hotkeyService_,
                                                [this](Sender sender) { dispatcher_.DoHotKey(sender); });
    dispatcher_.SetCustomHotkeys(hotkeyDialog_.get());
}

void Program::ShowHotkeyDialog() {
    CloseSplash();  // the splash is topmost: the dialog would open behind it
    if (hotkeyDialog_) hotkeyDialog_->ShowModal(nullptr);
}

bool Program::ExitForSetup() {
    if (!dispatcher_.Gate().MayShowHidden(controller_->Handle())) return false;
    engine_.IsExiting();
    return PostMessageW(controller_->Handle(), WM_CLOSE, 0, 0) != 0;
}

void Program::FinishSplash(DWORD shownAt) {
    // In slices: a box shown meanwhile closes the splash, and then there is nothing left to wait for.
    while (splash_ && !splash_->isSilent() && GetTickCount() - shownAt < kSplashMinimumMs)
        PumpMessagesFor(std::min<DWORD>(50, kSplashMinimumMs - (GetTickCount() - shownAt)));
    CloseSplash();
}

void Program::CloseSplash() { splash_.reset(); }

}  // namespace hc
