#include "tray/ControllerWindow.h"

#include <windowsx.h>

#include "engine/Dispatcher.h"
#include "engine/WindowEngine.h"
#include "hotkeys/AppHotkey.h"
#include "hotkeys/DefaultHotkeys.h"
#include "platform/Icons.h"
#include "platform/Messages.h"
#include "platform/NotifyIcon.h"
#include "platform/WindowSystem.h"
#include "settings/Configuration.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "tray/AboutWindow.h"
#include "tray/AutoStart.h"
#include "tray/ExitSequence.h"
#include "tray/IconExtractor.h"
#include "tray/TrayIcon.h"
#include "tray/TrayMenu.h"
#include "ui/ResourceIds.h"

namespace hc {

namespace {
constexpr UINT kMsgDefaultKeysRefused = WM_APP + 1;
constexpr KeyCombination hkUnStealth = 0xA008;  // Shift+Alt+Backspace
constexpr wchar_t kConfirmCaption[] = L"Confirm";
constexpr wchar_t kAutoStartAddFailed[] =
    L"Hushcloak Privacy could not be added to the programs that start with Windows.";
constexpr wchar_t kAutoStartRemoveFailed[] =
    L"Hushcloak Privacy could not be removed from the programs that start with Windows.";

constexpr wchar_t kIconPickerUnavailable[] =
    L"The icon picker of Windows could not be opened; the icon stays as it is.";
constexpr wchar_t kIconNotLoaded[] = L"The chosen icon could not be loaded; the icon stays as it is.";
constexpr wchar_t kIconNotStored[] = L"The chosen icon could not be stored; the next start shows the previous one.";

std::wstring StealthQuestion() {
    return L"In Stealth mode traces of the application are hidden. Press " + CombinationToText(hkUnStealth) +
           L" to exit stealt mode. Do you want to continue?";
}

std::wstring StealthRefused() {
    return L"The hotkey " + CombinationToText(hkUnStealth) +
           L" that ends stealth mode is in use by another program. Hushcloak Privacy stays in normal operation.";
}
}  // namespace

void KeepOffTaskbar(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    SetWindowLongW(window, GWL_EXSTYLE, (style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    ShowWindow(window, SW_HIDE);
}

TForm2::TForm2(ControllerParts parts, std::function<void()> openHotkeyDialog)
    : messages_(parts.messages),
      dispatcher_(parts.dispatcher),
      engine_(parts.engine),
      settings_(parts.settings),
      iconPicker_(parts.iconPicker),
      openHotkeyDialog_(std::move(openHotkeyDialog)),
      autoStart_(std::make_unique<AutoStartEntry>(parts.runKeys, parts.executablePath)),
      iconEx1_(std::make_unique<TIconExtractor>()),
      popupMenu_(std::make_unique<TrayMenu>()),
      exit_(std::make_unique<ExitSequence>(parts.messages, parts.engine, parts.dispatcher.Gate(), parts.switches,
                                           [this] { return SaveAtEnd(); })),
      builtInIcon_(icons::ProgramIcon(IDI_APP, true)),
      jvIconFile_(TIconExtractor::kInitialFileName) {
    RegisterWindowClass(kClassName);
    CreateWindowFor(WS_EX_TOOLWINDOW, kClassName, kApplicationTitle, WS_POPUP, 0, 0, 0, 0);
    if (!hwnd) return;
    // The panic keys first: adding the icon waits on the shell, on a thread of the icon's own.
    defaultHotkeys_ = std::make_unique<DefaultHotkeys>(parts.hotkeys, hwnd);
    const bool registered = RegisterHotKeys();
    // The icon's thread, once started, loads the shell and holds the loader meanwhile.
    PrepareCloakingQuery(hwnd);
    taskbarCreated_ = notifyicon::TaskbarCreatedMessage();
    trayIcon_ = std::make_unique<TrayIcon>(hwnd, kMsgTrayIcon);
    trayIcon_->SetIcon(builtInIcon_.get());
    trayIcon_->SetIconActive(true);
    about_ = std::make_unique<AboutBox>(hwnd);
    hkStealth_ = std::make_unique<AppHotkey>(parts.hotkeys, hwnd);
    hkStealth_->SetAction([this](AppHotkey&) { hkStealthHotKey(); });
    // The warning and the dialog wait for the end of start-up: the dialog does not exist yet.
    if (!registered) PostMessageW(hwnd, kMsgDefaultKeysRefused, 0, 0);
}

TForm2::~TForm2() {
    if (hwnd) DestroyWindow(hwnd);
}

void TForm2::StartTrayIcon() { trayIcon_->Start(); }

void TForm2::ApplyStoredIcon() {
    if (settings_.IconFile.empty()) return;
    iconEx1_->Extract(settings_.IconFile, settings_.IconIndex);
    if (iconEx1_->LastLoaded()) ShowHolderIcon();
}

void TForm2::ShowHolderIcon() {
    if (trayIcon_) trayIcon_->SetIcon(iconEx1_->SmallIcon() ? iconEx1_->SmallIcon() : iconEx1_->Icon());
}

bool TForm2::RegisterHotKeys() {
    const bool registered = defaultHotkeys_->RegisterHotKeys();
    dispatcher_.SetAtoms(defaultHotkeys_->HideAtom(), defaultHotkeys_->UnhideAtom());
    return registered;
}

void TForm2::ReleaseHotKeys() { defaultHotkeys_->ReleaseHotKeys(); }

void TForm2::DefaultKeysStandAsideFor(KeyCombination userHide, KeyCombination userUnhide) {
    defaultHotkeys_->StandAsideFor(userHide, userUnhide);
}

bool TForm2::ActivateStealthHotkey() {
    hkStealth_->SetCombination(hkUnStealth);
    hkStealth_->Activate();
    return hkStealth_->Active();
}

void TForm2::hkStealthHotKey() { trayIcon_->SetIconActive(true); }

void TForm2::Show1Click() {
    // No password is asked for a window that is not there to open.
    if (!mainWindow_ || !dispatcher_.Gate().MayShowHidden(hwnd)) return;
    DoShowMainForm();
}

void TForm2::DoShowMainForm() {
    if (!mainWindow_) return;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    mainWindow_->Open();
    SetCursor(previous);
}

void TForm2::ExitCommand() {
    if (exit_->MayExit(hwnd)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

bool TForm2::ExitForSetup() { return exit_->MayExitForSetup(hwnd) && PostMessageW(hwnd, WM_CLOSE, 0, 0) != 0; }

void TForm2::Switchtostealthmode1Click() {
    if (messages_.Box(hwnd, StealthQuestion(), kConfirmCaption, MB_YESNOCANCEL | MB_TASKMODAL) != IDYES) return;
    // The way back first: without it the program would vanish with no way to reach it.
    if (!ActivateStealthHotkey()) {
        messages_.Warning(StealthRefused());
        return;
    }
    engine_.CloseApplicationWindows();
    trayIcon_->SetIconActive(false);
}

void TForm2::AutoStartClick() {
    if (autoStart_->Exists()) {
        if (!autoStart_->Remove()) messages_.Error(kAutoStartRemoveFailed);
    } else if (!autoStart_->Add()) {
        messages_.Error(kAutoStartAddFailed);
    }
    settings_.AutoStart = autoStart_->Exists();
}

void TForm2::ChangeIcon1Click() {
    // The picker is modal, and the tray menu still opens meanwhile; one picker is enough.
    if (picking_) return;
    picking_ = true;
    const IconChoice choice = iconPicker_.Pick(hwnd, jvIconFile_, jvIconIndex_);
    picking_ = false;
    if (choice.outcome == IconChoice::Outcome::Unavailable) messages_.Error(kIconPickerUnavailable);
    // Cancelled: nothing changes, now or at the next start.
    if (choice.outcome != IconChoice::Outcome::Confirmed) return;
    jvIconFile_ = choice.file;
    jvIconIndex_ = choice.index;
    iconEx1_->Extract(jvIconFile_, jvIconIndex_);
    if (!iconEx1_->LastLoaded()) {
        messages_.Error(kIconNotLoaded);
        return;
    }
    ShowHolderIcon();
    settings_.IconFile = iconEx1_->FileName();
    settings_.IconIndex = iconEx1_->IconIndex();
    SettingsStore store;
    if (!SaveSettings(store, settings_, {L"IconFile", L"IconIndex"})) messages_.Error(kIconNotStored);
}

void TForm2::DisSplScrClick() {
    settings_.cbSilent = !settings_.cbSilent;
    settings_.DisSplScreen = settings_.cbSilent;
}

void TForm2::PopupMenu1Popup() {
    TrayMenuState state;
    state.openMainWindowEnabled = OpenMainWindowEnabled(!engine_.Hidden().empty(), settings_.cbPassword);
    state.startSilent = settings_.cbSilent;
    state.autoStart = autoStart_->Exists();
    state.panicButtonShown = panicButton_ && panicButton_->IsShown();
    popupMenu_->Prepare(state);
}

void TForm2::ShowTrayMenu(POINT at) {
    PopupMenu1Popup();
    popupMenu_->Track(hwnd, at);
}

void TForm2::OnTrayIcon(WPARAM wp, LPARAM lp) {
    const UINT event = trayIcon_->IsVersion4() ? LOWORD(lp) : static_cast<UINT>(lp);
    switch (event) {
        case WM_CONTEXTMENU:
            ShowTrayMenu(POINT{GET_X_LPARAM(wp), GET_Y_LPARAM(wp)});
            break;
        case WM_RBUTTONUP:
            // Version 4 follows this with WM_CONTEXTMENU; older shells send only this.
            if (!trayIcon_->IsVersion4()) {
                POINT at{};
                GetCursorPos(&at);
                ShowTrayMenu(at);
            }
            break;
        case WM_LBUTTONDBLCLK:
            Show1Click();
            break;
        default:
            break;  // a single left click does nothing
    }
}

void TForm2::OnCommand(UINT id) {
    switch (id) {
        case kAbout1:
            about_->About1Click();
            break;
        case kCheckforupdates1:
            if (checkForUpdates_) checkForUpdates_();
            break;
        case kChangeIcon1:
            ChangeIcon1Click();
            break;
        case kShow1:
            Show1Click();
            break;
        case kDisSplScr:
            DisSplScrClick();
            break;
        case kNormaloperation1:
            trayIcon_->SetIconActive(true);
            break;
        case kSwitchtostealthmode1:
            Switchtostealthmode1Click();
            break;
        case kAutoStart:
            AutoStartClick();
            break;
        case kBtnPanic:
            if (panicButton_) panicButton_->IsShown() ? panicButton_->Close() : panicButton_->Show();
            break;
        case kExit1:
            ExitCommand();
            break;
        default:
            break;
    }
}

void TForm2::FormClose() { exit_->Finish(); }

bool TForm2::SaveAtEnd() {
    // The ticks as the tray menu shows them: the Run keys may have changed behind the program's back.
    settings_.AutoStart = autoStart_->Exists();
    settings_.DisSplScreen = settings_.cbSilent;
    SettingsStore store;
    return SaveSettings(store, settings_, SavedWhen::ProgramEnd);
}

void TForm2::OnHotkey(WPARAM id) noexcept {
    try {
        if (hkStealth_) hkStealth_->HandleHotkeyMessage(id);
        // Every id goes on to the dispatcher too; the stealth id matches neither atom there.
        dispatcher_.GetHotKeys(Sender::None, static_cast<UINT>(id));
    } catch (...) {
        // Dropped without a message: the dispatcher has already restored what it could.
    }
}

void TForm2::OnDefaultKeysRefused() {
    messages_.Warning(kDefaultKeysWarning);
    if (openHotkeyDialog_) openHotkeyDialog_();
}

LRESULT TForm2::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        trayIcon_->OnTaskbarCreated();
        return 0;
    }
    switch (msg) {
        case WM_HOTKEY:
            OnHotkey(wp);
            return 0;
        case kMsgDefaultKeysRefused:
            OnDefaultKeysRefused();
            return 0;
        case kMsgTrayIcon:
            OnTrayIcon(wp, lp);
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wp));
            return 0;
        case WM_CLOSE:
            FormClose();
            DestroyWindow(hwnd);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;  // nothing of ours holds the session back
        case WM_ENDSESSION:
            // The process may be ended any moment after this returns; the hidden windows die with the session.
            if (wp) exit_->Finish();
            return 0;
        case WM_DESTROY:
            // The engine may still reach the icon through the shell; it only stops reporting to this window.
            if (trayIcon_) trayIcon_->SetIconActive(false);
            if (defaultHotkeys_) ReleaseHotKeys();
            PostQuitMessage(0);
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace hc
