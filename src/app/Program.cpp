#include "app/Program.h"

#include <commctrl.h>

#include "app/SplashWindow.h"
#include "hotkeys/HotkeyDialog.h"
#include "panic/PanicButton.h"
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
    : visibleWindows_(windowSystem_, kMainWindowTitle),
      shell_([this] { return controller_ ? controller_->Handle() : nullptr; },
             [this] { return hotkeyDialog_ ? hotkeyDialog_->Handle() : nullptr; }),
      engine_(windowSystem_, visibleWindows_, settings_, shell_, switches_, cleanup_, prompt_),
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
    if (processes::NamedMutexExists(kInstanceMutexName)) return 0;  // another instance runs: end silently
    if (!StartUp()) return 1;
    return RunMessageLoop();
}

bool Program::StartUp() {
    // Without the mutex the program still runs; a second instance just would not be stopped.
    instanceMutex_ = processes::CreateOwnedMutex(kInstanceMutexName);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);

    auto splash = std::make_unique<TSplash_f>(LoadSilentStart(SettingsStore()));
    splash->ShowUnlessSilent();
    const DWORD splashShownAt = GetTickCount();

    helpFile_ = HelpFilePath(processes::OwnExecutablePath());

    controller_ = std::make_unique<TForm2>(hotkeyService_, messages_, dispatcher_, [this] { ShowHotkeyDialog(); });
    if (!controller_->Handle()) return false;
    configuration_ = ConfigurationSetup(CommonAppDataFolder());
    CreateWindows();

    splash->PaintNow();
    KeepOffTaskbar(controller_->Handle());
    if (instanceMutex_) ReleaseMutex(instanceMutex_.get());
    FinishSplash(std::move(splash), splashShownAt);
    return true;
}

void Program::CreateWindows() {
    // What the main window's creation does: load the settings the rest of the program reads.
    SettingsDefaults defaults;
    defaults.panicLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    defaults.panicTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    settings_ = LoadSettings(SettingsStore(), defaults);
    hotkeyDialog_ = std::make_unique<THotKey_f>(settings_, messages_, hotkeyService_,
                                                [this](Sender sender) { dispatcher_.DoHotKey(sender); });
    // Until the tray's exit command exists, closing the controller is how the program ends.
    panicButton_ = std::make_unique<TPanic_f>(settings_, dispatcher_, engine_, nullptr, [this] {
        if (controller_) PostMessageW(controller_->Handle(), WM_CLOSE, 0, 0);
    });
    shell_.SetPanicButton(panicButton_.get());
}

void Program::ShowHotkeyDialog() {
    if (hotkeyDialog_) hotkeyDialog_->ShowModal(nullptr);
}

void Program::FinishSplash(std::unique_ptr<TSplash_f> splash, DWORD shownAt) {
    if (!splash->isSilent()) {
        const DWORD elapsed = GetTickCount() - shownAt;
        if (elapsed < kSplashMinimumMs) PumpMessagesFor(kSplashMinimumMs - elapsed);
    }
    splash.reset();
}

}  // namespace hc
