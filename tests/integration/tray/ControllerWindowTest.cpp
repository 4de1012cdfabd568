#include <gtest/gtest.h>

#include "Doubles.h"
#include "HotkeyDoubles.h"
#include "TestSupport.h"
#include "TrayDriver.h"
#include "hotkeys/AppHotkey.h"
#include "settings/SettingsStore.h"
#include "tray/AutoStart.h"
#include "tray/ControllerWindow.h"
#include "tray/TrayIcon.h"
#include "tray/TrayMenu.h"

namespace hc {
namespace {

// Real registrations, but every atom added is a new one, as the system's table may give after a delete: the
// dispatcher must learn the new ids, or the keys stop working.
class FreshAtomService : public HotkeyService {
public:
    bool Register(HWND owner, int id, UINT modifiers, UINT key) override {
        return real_.Register(owner, id, modifiers, key);
    }
    DWORD LastError() const override { return real_.LastError(); }
    void Unregister(HWND owner, int id) override { real_.Unregister(owner, id); }
    ATOM AddGlobalAtom(const wchar_t*) override { return next_++; }
    void DeleteGlobalAtom(ATOM) override {}

private:
    Win32HotkeyService real_;
    ATOM next_ = 0xC100;
};

// Opens what "Open main window" opens, and counts it.
class CountingMainWindow : public MainWindowView {
public:
    bool IsVisible() override { return false; }
    void Close() override {}
    void Open() override { ++opened; }
    int opened = 0;
};

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

class ControllerWindowTest : public ::testing::Test {
protected:
    hctest::ScopedCleanKey key_;
    hctest::CallLog log_;
    Win32WindowSystem windows_;
    hctest::EngineRig rig_{windows_, log_};
    FreshAtomService hotkeys_;
    hctest::RecordingMessages messages_;
    hctest::FakeRunKeys runKeys_;
    hctest::ScriptedIconPicker picker_;
    int dialogsOpened_ = 0;

    // Each controller ends the program's loop as it goes; left in the queue, that quit would end the first modal
    // loop of a later test at once.
    void TearDown() override { hctest::DropPendingQuit(); }

    std::unique_ptr<TForm2> MakeController() {
        return std::make_unique<TForm2>(
            ControllerParts{hotkeys_, messages_, rig_.dispatcher, rig_.engine, rig_.settings, rig_.switches, runKeys_,
                            picker_, L"C:\\Program Files\\Hushcloak Privacy\\HC.exe"},
            [&] { ++dialogsOpened_; });
    }
    static bool Taken(UINT modifiers, UINT key) {
        if (!RegisterHotKey(nullptr, 77, modifiers, key)) return true;
        UnregisterHotKey(nullptr, 77);
        return false;
    }
    // A window of the helper program, hidden through the engine so it is listed as hidden.
    HWND HideOneWindow(hctest::WindowHelper& helper, const std::wstring& title) {
        HWND window = helper.Open(title);
        rig_.visible.DoGetWindows();
        const auto& entries = rig_.visible.Entries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].handle == window) rig_.engine.HideSelectedWindow(i);
        hctest::WaitUntil([&] { return !IsWindowVisible(window); });
        return window;
    }
};

TEST_F(ControllerWindowTest, TwoReleasesAndRegistrationsInARowLeaveTheDefaultPairWorkingUntilTheEnd) {
    hctest::WindowHelper helper;
    HWND window = helper.Open(L"Tax return");
    {
        auto controller = MakeController();
        for (int round = 0; round < 2; ++round) {
            controller->ReleaseHotKeys();
            EXPECT_FALSE(Taken(MOD_CONTROL, VK_SPACE));
            EXPECT_TRUE(controller->RegisterHotKeys());
        }
        hctest::PressKeys({VK_CONTROL}, VK_SPACE);
        EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(window); }));
        hctest::PressKeys({VK_CONTROL}, VK_BACK);
        EXPECT_TRUE(hctest::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
        EXPECT_TRUE(messages_.shown.empty());
    }
    // The pair goes with the controller.
    EXPECT_FALSE(Taken(MOD_CONTROL, VK_SPACE));
    EXPECT_FALSE(Taken(MOD_CONTROL, VK_BACK));
}

TEST_F(ControllerWindowTest, TheStealthHotkeyIsRegisteredOnDemandAndOnlyBringsTheIconBack) {
    auto controller = MakeController();
    EXPECT_FALSE(controller->hkStealth().Active());
    EXPECT_FALSE(Taken(MOD_SHIFT | MOD_ALT, VK_BACK));
    EXPECT_TRUE(controller->ActivateStealthHotkey());
    EXPECT_TRUE(Taken(MOD_SHIFT | MOD_ALT, VK_BACK));
    controller->JvTrayIcon1().SetIconActive(false);
    hctest::PressKeys({VK_SHIFT, VK_MENU}, VK_BACK);
    EXPECT_TRUE(hctest::WaitUntil([&] { return controller->JvTrayIcon1().IsActive(); }));
    EXPECT_TRUE(log_.empty());  // the dispatcher saw an id that is neither atom
}

TEST_F(ControllerWindowTest, TheTrayMenuHoldsEveryItemInOrderAndIsPreparedFromTheSettings) {
    auto controller = MakeController();
    HMENU menu = controller->PopupMenu1().Handle();
    const std::vector<std::wstring> expected = {L"&About",
                                                L"Check for updates...",
                                                L"",
                                                L"&Change Icon...",
                                                L"&Open main window",
                                                L"",
                                                L"&Start silent (disables splash screen)",
                                                L"Mode of operation",
                                                L"Start with &Windows",
                                                L"Show Panic Button on the desktop",
                                                L"",
                                                L"&Close Hushcloak Privacy"};
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
    for (UINT i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(MenuText(menu, i), expected[i]) << "item " << i;
        const bool separator = (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) != 0;
        EXPECT_EQ(separator, expected[i].empty()) << "item " << i;
    }
    HMENU mode = GetSubMenu(menu, 7);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(MenuText(mode, 0), L"Normal operation");
    EXPECT_EQ(MenuText(mode, 1), L"Switch to stealth mode");
    MENUITEMINFOW normal{};
    normal.cbSize = sizeof(normal);
    normal.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoW(mode, 0, TRUE, &normal);
    EXPECT_TRUE(normal.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(normal.fState & MFS_CHECKED);

    // Start silent follows the model both ways; Open main window waits for the password while windows are hidden.
    rig_.settings.cbSilent = true;
    controller->PopupMenu1Popup();
    EXPECT_TRUE(Checked(menu, kDisSplScr));
    SendMessageW(controller->Handle(), WM_COMMAND, kDisSplScr, 0);
    EXPECT_FALSE(rig_.settings.cbSilent);
    controller->PopupMenu1Popup();
    EXPECT_FALSE(Checked(menu, kDisSplScr));
    EXPECT_FALSE(GetMenuState(menu, kShow1, MF_BYCOMMAND) & MF_GRAYED);

    hctest::WindowHelper helper;
    HideOneWindow(helper, L"Diary");
    rig_.settings.cbPassword = true;
    controller->PopupMenu1Popup();
    EXPECT_TRUE(GetMenuState(menu, kShow1, MF_BYCOMMAND) & MF_GRAYED);
    rig_.engine.RestoreWindows();
}

TEST_F(ControllerWindowTest, TheIconReachesTheShellOnlyOnceStartedAndAsThePanicsBeforeThatLeftIt) {
    auto controller = MakeController();
    TrayIcon& icon = controller->JvTrayIcon1();
    icon.WaitForShell();
    EXPECT_TRUE(hctest::TrayIcons().empty()) << "the icon went to the shell before the start";
    icon.SetIconActive(false);  // a panic during start-up
    controller->StartTrayIcon();
    icon.WaitForShell();
    EXPECT_TRUE(hctest::TrayIcons().empty()) << "the start brought back an icon the panic took away";
    icon.SetIconActive(true);  // the restore
    EXPECT_TRUE(hctest::WaitForTrayIconCount(1));
}

TEST_F(ControllerWindowTest, ADoubleClickOnTheIconOpensTheMainWindowOnlyPastThePassword) {
    CountingMainWindow main;
    auto controller = MakeController();
    controller->SetMainWindow(&main);
    controller->StartTrayIcon();
    ASSERT_TRUE(hctest::WaitForTrayIconCount(1));
    HWND icon = hctest::TrayIcons().front();

    hctest::LeftClick(icon);  // a single click does nothing
    EXPECT_FALSE(hctest::WaitUntil([&] { return main.opened != 0; }, GetDoubleClickTime() + 200));
    hctest::DoubleClick(icon);
    EXPECT_TRUE(hctest::WaitUntil([&] { return main.opened == 1; }));

    // Hidden windows behind a password: a wrong password keeps the main window closed.
    hctest::WindowHelper helper;
    HWND diary = HideOneWindow(helper, L"Diary");
    rig_.settings.cbPassword = true;
    rig_.prompt.answer = false;
    Sleep(GetDoubleClickTime());  // the next clicks must not pair with the last two
    hctest::DoubleClick(icon);
    EXPECT_TRUE(hctest::WaitUntil([&] { return std::count(log_.begin(), log_.end(), "PromptShown") == 1; }));
    EXPECT_EQ(main.opened, 1);
    EXPECT_FALSE(IsWindowVisible(diary));
    rig_.engine.RestoreWindows();
}

TEST_F(ControllerWindowTest, ExitAsksForThePasswordBeforeItShowsHiddenWindowsAndCancelKeepsItRunning) {
    auto controller = MakeController();
    const auto saved = [] { return SettingsStore().ReadString(L"StartUp", L"DoBin", L"absent") != L"absent"; };
    hctest::WindowHelper helper;
    HWND diary = HideOneWindow(helper, L"Diary");
    rig_.settings.cbPassword = true;
    rig_.prompt.answer = false;

    messages_.onBox = [&] { controller->ExitCommand(); };  // chosen again while the question is up
    controller->ExitCommand();
    messages_.onBox = nullptr;
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0],
              (hctest::RecordingMessages::Shown{
                  nullptr, L"There are windows that are hidden would you like to show them before you exit",
                  L"HushCloak", MB_OKCANCEL | MB_ICONQUESTION | MB_TASKMODAL}));
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "PromptShown"), 1);
    // The exit goes ahead by a posted WM_CLOSE: none may be waiting.
    MSG close{};
    EXPECT_FALSE(PeekMessageW(&close, controller->Handle(), WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    EXPECT_TRUE(IsWindow(controller->Handle()));
    EXPECT_FALSE(IsWindowVisible(diary));
    EXPECT_FALSE(saved());

    // The right password: the windows come back, the settings are saved, the controller ends and stores its own.
    rig_.prompt.answer = true;
    runKeys_.values[{RunScope::User, L"HushCloak"}] = L"\"C:\\HC.exe\"";
    rig_.settings.cbSilent = true;
    controller->ExitCommand();
    EXPECT_TRUE(hctest::WaitUntil([&] { return IsWindowVisible(diary) != FALSE; }));
    EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindow(controller->Handle()); }));
    EXPECT_TRUE(saved());
    SettingsStore store;
    EXPECT_EQ(store.ReadString(L"StartUp", L"AutoStart", L"absent"), L"1");
    EXPECT_EQ(store.ReadString(L"StartUp", L"DisSplScreen", L"absent"), L"1");
}

TEST_F(ControllerWindowTest, StartWithWindowsFallsBackToTheUsersKeyAndTheTickFollowsTheEntry) {
    runKeys_.refused = {RunScope::Machine};
    auto controller = MakeController();
    HMENU menu = controller->PopupMenu1().Handle();
    controller->PopupMenu1Popup();
    EXPECT_FALSE(Checked(menu, kAutoStart));

    SendMessageW(controller->Handle(), WM_COMMAND, kAutoStart, 0);
    EXPECT_EQ(runKeys_.values.size(), 1u);
    EXPECT_EQ((runKeys_.values[{RunScope::User, L"HushCloak"}]), L"\"C:\\Program Files\\Hushcloak Privacy\\HC.exe\"");
    controller->PopupMenu1Popup();
    EXPECT_TRUE(Checked(menu, kAutoStart));

    SendMessageW(controller->Handle(), WM_COMMAND, kAutoStart, 0);
    EXPECT_TRUE(runKeys_.values.empty());
    controller->PopupMenu1Popup();
    EXPECT_FALSE(Checked(menu, kAutoStart));
    EXPECT_TRUE(messages_.shown.empty());

    // Neither key writable: the tick stays clear and the user is told.
    runKeys_.refused = {RunScope::Machine, RunScope::User};
    SendMessageW(controller->Handle(), WM_COMMAND, kAutoStart, 0);
    controller->PopupMenu1Popup();
    EXPECT_FALSE(Checked(menu, kAutoStart));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text,
              L"Hushcloak Privacy could not be added to the programs that start with Windows.");
    EXPECT_EQ(messages_.shown[0].caption, L"Error");

    // An entry that cannot be removed keeps the tick, and the user learns that the program still starts.
    runKeys_.values[{RunScope::Machine, L"HushCloak"}] = L"\"C:\\HC.exe\"";
    SendMessageW(controller->Handle(), WM_COMMAND, kAutoStart, 0);
    controller->PopupMenu1Popup();
    EXPECT_TRUE(Checked(menu, kAutoStart));
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[1].text,
              L"Hushcloak Privacy could not be removed from the programs that start with Windows.");
}

TEST_F(ControllerWindowTest, AnIconIsStoredOnlyWhenTheUserConfirmedItInThePicker) {
    auto controller = MakeController();
    const HICON builtIn = controller->JvTrayIcon1().Icon();
    const auto changed = [&] { return controller->JvTrayIcon1().Icon() != builtIn; };
    const auto stored = [] { return SettingsStore().ReadString(L"StartUp", L"IconFile", L"absent") != L"absent"; };

    picker_.answer.outcome = IconChoice::Outcome::Cancelled;
    SendMessageW(controller->Handle(), WM_COMMAND, kChangeIcon1, 0);
    EXPECT_EQ(picker_.shown, 1);
    EXPECT_FALSE(stored());
    EXPECT_FALSE(changed());
    EXPECT_TRUE(messages_.shown.empty());

    picker_.answer = IconChoice{IconChoice::Outcome::Confirmed, L"%SystemRoot%\\SYSTEM32\\shell32.dll", 12};
    SendMessageW(controller->Handle(), WM_COMMAND, kChangeIcon1, 0);
    EXPECT_TRUE(changed());
    const HICON chosen = controller->JvTrayIcon1().Icon();
    SettingsStore store;
    EXPECT_EQ(store.ReadString(L"StartUp", L"IconFile", L""), L"%SystemRoot%\\SYSTEM32\\shell32.dll");
    EXPECT_EQ(store.ReadString(L"StartUp", L"IconIndex", L""), L"12");
    EXPECT_TRUE(messages_.shown.empty());

    // A confirmed file without that icon changes nothing and says so.
    picker_.answer = IconChoice{IconChoice::Outcome::Confirmed, L"C:\\nowhere\\missing.dll", 0};
    SendMessageW(controller->Handle(), WM_COMMAND, kChangeIcon1, 0);
    EXPECT_EQ(controller->JvTrayIcon1().Icon(), chosen);
    EXPECT_EQ(SettingsStore().ReadString(L"StartUp", L"IconIndex", L""), L"12");
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, L"The chosen icon could not be loaded; the icon stays as it is.");
}

TEST_F(ControllerWindowTest, AStoredIconFileWithoutThatIconLeavesTheBuiltInIcon) {
    rig_.settings.IconFile = L"C:\\nowhere\\missing.dll";
    rig_.settings.IconIndex = 2;
    auto controller = MakeController();
    const HICON builtIn = controller->JvTrayIcon1().Icon();
    controller->ApplyStoredIcon();
    EXPECT_EQ(controller->JvTrayIcon1().Icon(), builtIn);

    rig_.settings.IconFile = L"%SystemRoot%\\SYSTEM32\\shell32.dll";
    controller->ApplyStoredIcon();
    EXPECT_NE(controller->JvTrayIcon1().Icon(), builtIn);
    EXPECT_NE(controller->JvTrayIcon1().Icon(), nullptr);
}

}  // namespace
}  // namespace hc
