#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace hc {

class SettingsStore;

inline constexpr wchar_t kStartUpSection[] = L"StartUp";
inline constexpr wchar_t kDefaultHideText[] = L"CTRL+SPACE";
inline constexpr wchar_t kDefaultUnhideText[] = L"CTRL+BACKSPACE";
inline constexpr wchar_t kPanicGreeting[] = L"Hi, I'm the \"Panic Button\". You can move me, change me, rename me.";

// Every setting of the program at run time. The main window's controls show and edit it; the engine,
// the dispatchers, the hotkeys and the Panic Button read it. Field names follow the controls that edit them.
struct Settings {
    // Clean-up after a privacy action.
    bool cbRecycle = false;     // "DoBin"
    bool cbClearTemp = false;   // "TempFiles"
    bool cbRecent = false;      // "Recent"
    bool cbHistory = false;     // "URL"
    bool cbMuteAudio = true;    // "MuteAudio"
    // Unhide password.
    bool cbPassword = false;    // "UsePW"
    // Decoy.
    bool UseDecoy = false;      // "UseDecoy"
    std::wstring DecoyApp;      // "Decoy"
    // Privacy action 0..4, -1 for none selected.
    int Action = 0;             // "Action"
    // Hotkeys.
    std::wstring edHide = kDefaultHideText;      // "HkHide"
    std::wstring edUnHide = kDefaultUnhideText;  // "hkUnHide"
    bool UseDefaultKeys = true;                  // "Defaults"
    // Tray and icon.
    bool AutoStart = false;     // "AutoStart"
    std::wstring IconFile;      // "IconFile"
    int IconIndex = 3;          // "IconIndex"
    bool cbHideIcon = true;     // "HideIcon"
    bool DisSplScreen = false;  // "DisSplScreen"
    // Start-up.
    bool cbSilent = false;      // "Tray"
    // Panic Button.
    bool fHidePanicBtn = true;  // "HidePanic" (section "StartUP")
    int PanicLeft = 0;          // "PanicLeft"
    int PanicTop = 0;           // "PanicTop"
    std::wstring btnPanic = kPanicGreeting;  // "btnPanic"
    // Programs a panic leaves alone, by file name.
    std::vector<std::wstring> KeepVisible;   // "KeepVisible" (REG_MULTI_SZ)
    // Not stored: each start begins from these.
    bool cbTaskManager = false;
    int jvTransparency = 1;
    std::wstring theme;
};

// What the defaults depend on at the moment of loading.
struct SettingsDefaults {
    int iconIndex = 3;     // the icon holder's current index
    int panicLeft = 0;     // left edge of the virtual desktop
    int panicTop = 0;      // top edge of the virtual desktop
};

// When a stored value reaches the store.
enum class SavedWhen {
    MainWindowClose,  // every close of the main window, and the end of the program
    ProgramEnd,       // the end of the program only (the tray menu's ticks)
    OnChange,         // right after the user changed it ("&Change Icon...")
};

// Fills every stored entry from the store; absent or unreadable entries take their defaults.
Settings LoadSettings(const SettingsStore& store, const SettingsDefaults& defaults);
// Writes the entries of that moment, in the table's order: MainWindowClose what every close of the main window
// saves, ProgramEnd those and the tray's ticks. False when any write failed (the store could not be opened, or a
// value was refused); the other entries are written all the same.
bool SaveSettings(SettingsStore& store, const Settings& settings, SavedWhen moment = SavedWhen::MainWindowClose);
// Writes the named entries only; false when one failed or is not in the table.
bool SaveSettings(SettingsStore& store, const Settings& settings, std::initializer_list<std::wstring_view> names);
// The silent-start entry alone, for the splash window that comes before the rest is loaded.
bool LoadSilentStart(const SettingsStore& store);

}  // namespace hc
