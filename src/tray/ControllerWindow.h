#pragma once
#include <functional>
#include <memory>
#include <string>

#include "hotkeys/HotkeyText.h"
#include "platform/Handles.h"
#include "ui/Views.h"
#include "ui/Window.h"

namespace hc {

class AboutBox;
class AppHotkey;
class AutoStartEntry;
class DefaultHotkeys;
class ExitSequence;
class HotkeyService;
class IconPicker;
class Messages;
class PrivacyDispatcher;
class RunKeys;
class SystemSwitches;
class TIconExtractor;
class TrayIcon;
class TrayMenu;
class WindowEngine;
struct Settings;

// What the controller works with; each lives longer than the controller.
struct ControllerParts {
    HotkeyService& hotkeys;
    Messages& messages;
    PrivacyDispatcher& dispatcher;
    WindowEngine& engine;
    Settings& settings;
    SystemSwitches& switches;
    RunKeys& runKeys;
    IconPicker& iconPicker;
    std::wstring executablePath;  // what the autostart entry starts
};

// The hidden controller window: the program's main window in the sense that closing it ends the program.
// It is never shown. It owns the notification-area icon and its menu, the default hotkeys and the stealth hotkey.
class TForm2 : public Window<TForm2> {
public:
    static constexpr wchar_t kClassName[] = L"TForm2";
    static constexpr UINT kMsgTrayIcon = WM_APP + 2;

    // Creating the controller registers the default hotkeys and shows the built-in icon in the notification area;
    // a refusal of the keys is reported once the message loop runs.
    TForm2(ControllerParts parts, std::function<void()> openHotkeyDialog);
    ~TForm2() override;

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

    // Windows that land after the controller; null (empty) until then, and their menu items do nothing.
    void SetMainWindow(MainWindowView* view) { mainWindow_ = view; }
    void SetPanicButton(PanicButtonView* view) { panicButton_ = view; }
    void SetCheckForUpdates(std::function<void()> open) { checkForUpdates_ = std::move(open); }

    // The icon goes to the shell once the message loop runs; what a panic asked of it meanwhile holds.
    void StartTrayIcon();
    // The stored IconFile and IconIndex, once the settings are loaded: a file that names no icon leaves the
    // built-in one.
    void ApplyStoredIcon();

    // The default pair, released and registered again (a theme change does this); the dispatcher learns the new
    // atoms. True when both keys were registered.
    bool RegisterHotKeys();
    void ReleaseHotKeys();
    // The user's own keys in force: the default keys they would compete with stand aside.
    void DefaultKeysStandAsideFor(KeyCombination userHide, KeyCombination userUnhide);

    // Registers Shift+Alt+Backspace (and keeps it for good). False when the system refused it.
    bool ActivateStealthHotkey();
    AppHotkey& hkStealth() { return *hkStealth_; }

    // The tray menu's commands; the Panic Button's menu uses the first two as well.
    void Show1Click();  // "&Open main window", and the icon's double click
    void DoShowMainForm();
    void ExitCommand();  // "&Close Hushcloak Privacy": asks about hidden windows, saves, ends the program
    // A setup replaces the program: ends it as the exit command does, without the question. False when the user
    // declined the password, and the program runs on.
    bool ExitForSetup();
    void Switchtostealthmode1Click();
    void AutoStartClick();
    void ChangeIcon1Click();
    void DisSplScrClick();
    void PopupMenu1Popup();  // prepares the menu just before it opens

    TrayIcon& JvTrayIcon1() { return *trayIcon_; }
    AboutBox& About() { return *about_; }
    TrayMenu& PopupMenu1() { return *popupMenu_; }

private:
    void OnHotkey(WPARAM id) noexcept;
    void OnDefaultKeysRefused();
    void OnTrayIcon(WPARAM wp, LPARAM lp);
    void OnCommand(UINT id);
    void ShowTrayMenu(POINT at);
    void hkStealthHotKey();
    void FormClose();
    // Every stored setting, the tray's ticks as they are now included; false when a write failed.
    bool SaveAtEnd();
    void ShowHolderIcon();

    Messages& messages_;
    PrivacyDispatcher& dispatcher_;
    WindowEngine& engine_;
    Settings& settings_;
    IconPicker& iconPicker_;
    std::function<void()> openHotkeyDialog_;
    std::function<void()> checkForUpdates_;
    MainWindowView* mainWindow_ = nullptr;
    PanicButtonView* panicButton_ = nullptr;

    std::unique_ptr<DefaultHotkeys> defaultHotkeys_;
    std::unique_ptr<AppHotkey> hkStealth_;
    std::unique_ptr<AutoStartEntry> autoStart_;
    std::unique_ptr<TIconExtractor> iconEx1_;
    std::unique_ptr<TrayMenu> popupMenu_;
    std::unique_ptr<TrayIcon> trayIcon_;
    std::unique_ptr<AboutBox> about_;
    std::unique_ptr<ExitSequence> exit_;
    UniqueHicon builtInIcon_;
    std::wstring jvIconFile_;  // the picker's file and index, updated when the user confirms a choice
    int jvIconIndex_ = 0;
    UINT taskbarCreated_ = 0;
    bool picking_ = false;
};

// Keeps a window off the taskbar and out of the task switcher.
void KeepOffTaskbar(HWND window);

}  // namespace hc
