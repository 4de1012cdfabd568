#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>

#include "HcProcess.h"
#include "MainWindowDriver.h"
#include "TestSupport.h"
#include "mainwindow/MainWindowIds.h"
#include "password/PasswordHash.h"
#include "password/PasswordStore.h"
#include "platform/Registry.h"
#include "settings/Conversions.h"

namespace hctest {
namespace {

namespace ids = hc::mainids;

struct PageButton {
    const wchar_t* caption;
    int controlOnPage;
    const wchar_t* shotName;
};
constexpr std::array<PageButton, 6> kPages = {{
    {L"Windows that anyone can see", ids::VisibleWindows, L"visible"},
    {L"Windows that have been hidden", ids::WindowLV, L"hidden"},
    {L"Configure Hushcloak actions", ids::HushCloak, L"setup"},
    {L"Specify additional actions", ids::cbRecycle, L"options"},
    {L"All About Hushcloak Privacy", ids::btnUpdate, L"about"},
    {L"Welcome", ids::WelcomeText, L"welcome"},
}};

std::optional<std::wstring> Stored(const wchar_t* name) {
    hc::UniqueHkey section = hc::registry::OpenKey(HKEY_CURRENT_USER, L"HushCloak\\StartUp");
    return section ? hc::registry::ReadString(section.get(), name) : std::nullopt;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) ? gui.hwndFocus : nullptr;
}

class MainWindowTest : public ::testing::Test {
protected:
    ScopedCleanKey key_;
    HcProcess hc_;
    HWND main_ = nullptr;

    MainWindowDriver& Start() {
        EXPECT_TRUE(hc_.Start());
        driver_ = MainWindowDriver(hc_.ProcessId());
        main_ = driver_.WaitUntilShown();
        EXPECT_NE(main_, nullptr) << "the main window did not show";
        return driver_;
    }
    void Restart() {
        hc_.Stop();
        Start();
    }
    MainWindowDriver driver_{0};
};

TEST_F(MainWindowTest, StartsEmptyAndEachNavigationButtonShowsItsPage) {
    MainWindowDriver& ui = Start();
    ASSERT_NE(main_, nullptr);
    RECT client{};
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, 1056);
    EXPECT_EQ(client.bottom, 542);
    EXPECT_NE(GetWindow(main_, GW_OWNER), nullptr) << "an unowned window gets a taskbar button";
    for (const PageButton& page : kPages) EXPECT_FALSE(ui.IsOnShow(page.controlOnPage)) << page.shotName;

    for (const wchar_t* theme : {L"Onyx Blue", L"Windows"}) {
        if (std::wstring(theme) != L"Onyx Blue") {
            ASSERT_TRUE(ui.Click(L"Specify additional actions"));
            ASSERT_TRUE(ui.Choose(ids::cbxVclStyles, theme));
        }
        for (const PageButton& page : kPages) {
            ASSERT_TRUE(ui.Click(page.caption)) << page.shotName;
            for (const PageButton& other : kPages)
                EXPECT_EQ(ui.IsOnShow(other.controlOnPage), &other == &page)
                    << page.shotName << " / " << other.shotName;
            const std::wstring shot =
                std::wstring(std::wstring(theme) == L"Windows" ? L"windows-" : L"onyx-") + page.shotName;
            EXPECT_TRUE(SaveWindowShot(main_, ShotPath(shot + L".bmp"))) << shot;
        }
    }
    // The page is ours, shown as text where no HTML engine exists.
    const std::wstring welcome = ui.Text(ids::WelcomeText);
    EXPECT_NE(welcome.find(L"Welcome to Hushcloak Privacy"), std::wstring::npos) << welcome.size();
    EXPECT_NE(welcome.find(L"Ctrl+Space hides"), std::wstring::npos);
    EXPECT_NE(welcome.find(L"Ctrl+Backspace unhides"), std::wstring::npos);
    EXPECT_NE(welcome.find(L"choose \"Close Hushcloak Privacy\""), std::wstring::npos)
        << std::string(welcome.begin(), welcome.end());
    EXPECT_EQ(welcome.find(L'<'), std::wstring::npos);

    // The menu picture folds the pane to its icons and opens it again.
    HWND pane = GetParent(ui.Control(L"Welcome"));
    ASSERT_TRUE(ui.Click(L"Menu"));
    EXPECT_TRUE(WaitUntil(
        [&] {
            RECT r{};
            GetClientRect(pane, &r);
            return r.right == 50;
        },
        3000));
    ASSERT_TRUE(ui.Click(L"Menu"));
    EXPECT_TRUE(WaitUntil(
        [&] {
            RECT r{};
            GetClientRect(pane, &r);
            return r.right == 300;
        },
        3000));

    ui.Click(L"Close");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }));
    EXPECT_TRUE(hc_.IsRunning());
}

TEST_F(MainWindowTest, ListsHidesAndShowsTheHelperWindows) {
    WindowHelper helper;
    HWND ledger = helper.Open(L"Ledger 2026");
    HWND other = helper.Open(L"Ledger notes");
    MainWindowDriver& ui = Start();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ui.Click(L"Windows that anyone can see"));
    RemoteListView visible(ui.ControlById(ids::VisibleWindows));
    int row = visible.Find(1, L"Ledger 2026");
    ASSERT_GE(row, 0);
    EXPECT_EQ(visible.Text(row, 0), hc::HandleToText(ledger));
    const std::wstring process = visible.Text(row, 2);
    EXPECT_TRUE(process.ends_with(L"\\winhelper.exe")) << std::string(process.begin(), process.end());
    EXPECT_GE(visible.ImageOf(row), 0);
    EXPECT_EQ(visible.Find(1, kMainWindowCaption), -1);
    // Twice in a row refills the list, the same windows once each.
    const int count = visible.Count();
    ASSERT_TRUE(ui.Click(L"Windows that anyone can see"));
    EXPECT_EQ(visible.Count(), count);
    EXPECT_GE(visible.Find(1, L"Ledger notes"), 0);

    row = visible.Find(1, L"Ledger 2026");
    ASSERT_TRUE(visible.Select(row));
    ASSERT_TRUE(ui.ChooseFromMenu(ids::VisibleWindows, 0));  // "Hide selected window"
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(ledger); }));
    EXPECT_TRUE(IsWindowVisible(other));
    EXPECT_EQ(visible.Find(1, L"Ledger 2026"), -1);

    ASSERT_TRUE(ui.Click(L"Windows that have been hidden"));
    RemoteListView hidden(ui.ControlById(ids::WindowLV));
    ASSERT_EQ(hidden.Count(), 1);
    EXPECT_EQ(hidden.Text(0, 0), hc::HandleToText(ledger));
    EXPECT_EQ(hidden.Text(0, 1), L"Ledger 2026");
    EXPECT_NE(hidden.Text(0, 2).find(L':'), std::wstring::npos) << "a time of day";

    ASSERT_TRUE(hidden.Select(0));
    ASSERT_TRUE(ui.ChooseFromMenu(ids::WindowLV, 0));  // "Show selected window"
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(ledger); }));
    EXPECT_EQ(hidden.Count(), 0);
}

TEST_F(MainWindowTest, TheFirstCloseWritesWhatTheControlsShowAndARestartShowsItAgain) {
    // With a password stored, ticking "Require passwords to unhide windows" asks for nothing.
    ScopedCleanKey store{hc::kPasswordStoreKey};
    store.SetString(L"HKAcc", L"Key", hc::MakeStoredPassword(L"Ferry").value_or(L"Ferry"));
    MainWindowDriver& ui = Start();
    ASSERT_NE(main_, nullptr);
    EXPECT_EQ(Stored(L"DoBin"), std::nullopt) << "written before the first close";
    ASSERT_TRUE(ui.Click(L"Specify additional actions"));
    EXPECT_TRUE(ui.Checked(L"Mute the audio"));
    EXPECT_TRUE(ui.Checked(L"Always hide the Panic Button"));
    EXPECT_TRUE(ui.Checked(L"Always hide the application System Tray icon"));
    ui.Click(L"Empty the Recycle Bin");
    ui.Click(L"Mute the audio");
    ui.Click(L"Require passwords to unhide windows");
    ui.Click(L"Always hide the application System Tray icon");
    ASSERT_TRUE(ui.Click(L"Configure Hushcloak actions"));
    EXPECT_EQ(ui.Text(ids::edHide), L"CTRL+SPACE");
    EXPECT_EQ(ui.Text(ids::edUnHide), L"CTRL+BACKSPACE");
    EXPECT_TRUE(ui.Checked(L"Hide all Applications (all windows will be hidden)"));
    ui.Click(L"Close the active Application (affects only the window your are using)");
    HWND useDecoy = ui.Control(L"Launch an application or open a document");
    SendMessageW(ui.ControlById(ids::DecoyApp), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\notes.txt"));
    EXPECT_TRUE(IsWindowEnabled(useDecoy));
    EXPECT_FALSE(ui.Checked(L"Launch an application or open a document")) << "naming a decoy does not tick it";
    ui.Click(L"Launch an application or open a document");
    ui.Click(L"Close");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }));

    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"DoBin", L"1"},
        {L"TempFiles", L"0"},
        {L"Recent", L"0"},
        {L"URL", L"0"},
        {L"UsePW", L"1"},
        {L"UseDecoy", L"1"},
        {L"HidePanic", L"1"},
        {L"Decoy", L"C:\\notes.txt"},
        {L"Action", L"3"},
        {L"MuteAudio", L"0"},
        {L"HkHide", L"CTRL+SPACE"},
        {L"hkUnHide", L"CTRL+BACKSPACE"},
        {L"Defaults", L"1"},
        {L"Tray", L"0"},
        {L"HideIcon", L"0"},
        {L"btnPanic", L"Hi, I'm the \"Panic Button\". You can move me, change me, rename me."}};
    for (const auto& [name, text] : expected) EXPECT_EQ(Stored(name), std::wstring(text)) << std::wstring(name).c_str();
    EXPECT_TRUE(Stored(L"PanicLeft").has_value());
    EXPECT_TRUE(Stored(L"PanicTop").has_value());

    Restart();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ui.Click(L"Specify additional actions"));
    EXPECT_TRUE(ui.Checked(L"Empty the Recycle Bin"));
    EXPECT_FALSE(ui.Checked(L"Mute the audio"));
    EXPECT_FALSE(ui.Checked(L"Always hide the application System Tray icon"));
    ASSERT_TRUE(ui.Click(L"Configure Hushcloak actions"));
    EXPECT_TRUE(ui.Checked(L"Close the active Application (affects only the window your are using)"));
    EXPECT_EQ(ui.Text(ids::DecoyApp), L"C:\\notes.txt");
    EXPECT_TRUE(ui.Checked(L"Launch an application or open a document"));
    // Clearing the decoy by hand takes the tick away and disables the box.
    SendMessageW(ui.ControlById(ids::DecoyApp), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    EXPECT_FALSE(ui.Checked(L"Launch an application or open a document"));
    EXPECT_FALSE(IsWindowEnabled(ui.Control(L"Launch an application or open a document")));

    // Leaving by the controller's close, as the tray's exit does, keeps a change the window never saved.
    ASSERT_TRUE(ui.Click(L"Specify additional actions"));
    ui.Click(L"Require passwords to unhide windows");
    hc_.Stop();
    EXPECT_EQ(Stored(L"UsePW"), L"0");
    EXPECT_EQ(Stored(L"UseDecoy"), L"0");
    EXPECT_EQ(Stored(L"Decoy"), L"");
}

TEST_F(MainWindowTest, StoredEdgeCasesShowAsTheStoreSaysAndSaveBackSound) {
    key_.SetString(L"StartUp", L"Action", L"7");
    key_.SetString(L"StartUp", L"DoBin", L"2");
    key_.SetString(L"StartUp", L"MuteAudio", L"yes");
    key_.SetString(L"StartUp", L"HkHide", L"");
    key_.SetString(L"StartUp", L"UseDecoy", L"1");
    key_.SetString(L"StartUp", L"Decoy", L"");
    key_.SetString(L"StartUP", L"HidePanic", L"0");
    key_.SetDword(L"StartUp", L"Recent", 1);
    key_.SetString(L"StartUp", L"URL", std::wstring(40000, L'1'));
    MainWindowDriver& ui = Start();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ui.Click(L"Configure Hushcloak actions"));
    EXPECT_TRUE(ui.Checked(L"Do nothing (essentially disables the application)"));
    EXPECT_EQ(ui.Text(ids::edHide), L"");
    EXPECT_TRUE(ui.Checked(L"Launch an application or open a document"));
    ASSERT_TRUE(ui.Click(L"Specify additional actions"));
    EXPECT_TRUE(ui.Checked(L"Empty the Recycle Bin"));
    EXPECT_TRUE(ui.Checked(L"Mute the audio"));
    EXPECT_FALSE(ui.Checked(L"Always hide the Panic Button"));
    EXPECT_FALSE(ui.Checked(L"Clear recently accessed documents list")) << "a number stored as a DWORD";
    EXPECT_FALSE(ui.Checked(L"Delete Internet history")) << "an over-long text";
    ui.Click(L"Close");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }));
    EXPECT_EQ(Stored(L"Action"), L"4");
    EXPECT_EQ(Stored(L"MuteAudio"), L"1");
    EXPECT_EQ(Stored(L"HkHide"), L"");
    EXPECT_EQ(Stored(L"URL"), L"0");
    EXPECT_EQ(Stored(L"HidePanic"), L"0");
    hc_.Stop();

    key_.SetString(L"StartUp", L"Action", L"-5");
    key_.SetString(L"StartUp", L"HidePanic", L"1");
    Start();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ui.Click(L"Configure Hushcloak actions"));
    for (int item = 0; item < 5; ++item)
        EXPECT_EQ(SendMessageW(ui.ControlById(ids::HushCloakItem0 + item), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ASSERT_TRUE(ui.Click(L"Specify additional actions"));
    EXPECT_TRUE(ui.Checked(L"Always hide the Panic Button"));
    ui.Click(L"Close");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }));
    EXPECT_EQ(Stored(L"Action"), L"-1");
    EXPECT_EQ(Stored(L"HidePanic"), L"1");
    EXPECT_EQ(Stored(L"DoBin"), L"1");
}

TEST_F(MainWindowTest, AMissingWelcomeFileIsSaidOnThePageInsteadOfAnEmptyPage) {
    const std::wstring page = BinFolder() + L"images\\Index.html";
    const std::wstring aside = page + L".aside";
    ASSERT_TRUE(MoveFileExW(page.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING));
    struct PutBack {
        const std::wstring& from;
        const std::wstring& to;
        ~PutBack() { MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING); }
    } putBack{aside, page};
    MainWindowDriver& ui = Start();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ui.Click(L"Welcome"));
    const std::wstring text = ui.Text(ids::WelcomeText);
    EXPECT_TRUE(text.starts_with(L"The Welcome page could not be read: ")) << std::string(text.begin(), text.end());
    EXPECT_TRUE(text.ends_with(L"\\images\\Index.html"));
}

TEST_F(MainWindowTest, BrowseNamesTheChosenDecoyWithoutTickingItAndCancelChangesNothing) {
    const std::wstring decoy = MakeTempFolder(L"hc_browse") + L"\\Quarterly.txt";
    HANDLE file = CreateFileW(decoy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    MainWindowDriver& ui = Start();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ui.Click(L"Configure Hushcloak actions"));
    EXPECT_FALSE(IsWindowEnabled(ui.Control(L"Launch an application or open a document")));

    ASSERT_TRUE(ui.ClickWithoutWaiting(L"Browse"));
    HWND dialog = WaitForDialog(L"Browse for HushCloak Decoy");
    ASSERT_NE(dialog, nullptr);
    wchar_t filter[64] = {};
    SendMessageW(GetDlgItem(dialog, 0x470), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(filter));  // the type list
    EXPECT_EQ(std::wstring(filter), L"All files");
    HWND name = GetDlgItem(dialog, 0x47C);  // the file name box of the system's dialog
    if (!name) name = GetDlgItem(dialog, 0x480);
    ASSERT_NE(name, nullptr);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(decoy.c_str()));
    ClickButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    EXPECT_TRUE(WaitUntil([&] { return ui.Text(ids::DecoyApp).ends_with(L"\\Quarterly.txt"); }))
        << std::string(ui.Text(ids::DecoyApp).begin(), ui.Text(ids::DecoyApp).end());
    EXPECT_TRUE(IsWindowEnabled(ui.Control(L"Launch an application or open a document")));
    EXPECT_FALSE(ui.Checked(L"Launch an application or open a document"));

    ASSERT_TRUE(ui.ClickWithoutWaiting(L"Browse"));
    dialog = WaitForDialog(L"Browse for HushCloak Decoy");
    ASSERT_NE(dialog, nullptr);
    ClickButton(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    EXPECT_TRUE(ui.Text(ids::DecoyApp).ends_with(L"\\Quarterly.txt"));
    DeleteFileW(decoy.c_str());
}

TEST_F(MainWindowTest, TabWalksTheOptionsPageInOrderAndSpaceTogglesACheckBox) {
    MainWindowDriver& ui = Start();
    ASSERT_NE(main_, nullptr);
    SetForegroundWindow(main_);
    ASSERT_TRUE(ui.Click(L"Specify additional actions"));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(FocusOf(main_)) == L"Specify additional actions"; }));
    // One key at a time: the next goes only when the focus has moved.
    const auto tab = [&](bool back) {
        const HWND before = FocusOf(main_);
        if (back)
            PressKeys({VK_SHIFT}, VK_TAB);
        else
            PressKeys({}, VK_TAB);
        WaitUntil([&] { return FocusOf(main_) != before; }, 2000);
        return FocusOf(main_);
    };
    std::vector<std::wstring> walk;
    for (int i = 0; i < 17; ++i) {
        HWND focus = tab(false);
        walk.push_back(GetDlgCtrlID(focus) == ids::cbxVclStyles     ? L"(theme)"
                       : GetDlgCtrlID(focus) == ids::jvTransparency ? L"(slider)"
                                                                    : WindowText(focus));
    }
    const std::vector<std::wstring> expected = {
        L"All About Hushcloak Privacy",
        L"Welcome",
        L"Empty the Recycle Bin",
        L"Clear recently accessed documents list",
        L"Clear temporary files",
        L"Delete Internet history",
        L"Mute the audio",
        L"Require passwords to unhide windows",
        L"Manage...",
        L"Always hide the Panic Button",
        L"Always hide the application System Tray icon",
        L"Start silent (disables the splash screen and minimizes to system tray)",
        L"(theme)",
        L"(slider)",
        L"Hide",  // the Panic Button is shown at start
        L"Close",
        L"Menu"};
    EXPECT_EQ(walk, expected);

    // Back to "Mute the audio" with Shift+Tab, then the space bar.
    for (int i = 0; i < 10; ++i) tab(true);
    ASSERT_EQ(WindowText(FocusOf(main_)), L"Mute the audio");
    PressKeys({}, VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return !ui.Checked(L"Mute the audio"); }));
    // Escape closes the window like its close box, and the close saves.
    PressKeys({}, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }));
    EXPECT_EQ(Stored(L"MuteAudio"), L"0");
}

TEST_F(MainWindowTest, AThemeChangeKeepsTheDefaultAndTheUsersOwnHotkeysWorking) {
    WindowHelper helper;
    const auto windows = helper.OpenMany(L"Payroll", 2);
    const auto allShown = [&] { return std::all_of(windows.begin(), windows.end(), IsWindowVisible); };
    const auto noneShown = [&] { return std::none_of(windows.begin(), windows.end(), IsWindowVisible); };
    MainWindowDriver& ui = Start();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ui.Click(L"Specify additional actions"));
    ASSERT_TRUE(ui.Choose(ids::cbxVclStyles, L"Windows"));
    EXPECT_EQ(ui.Text(ids::cbxVclStyles), L"Windows");
    EXPECT_GE(RemoteListView(ui.ControlById(ids::VisibleWindows)).Find(1, L"Payroll 1"), 0) << "the list is full again";
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil(noneShown));
    PressKeys({VK_CONTROL}, VK_BACK);
    ASSERT_TRUE(WaitUntil(allShown));
    hc_.Stop();

    key_.SetString(L"StartUp", L"Defaults", L"0");
    key_.SetString(L"StartUp", L"HkHide", L"Ctrl+H");
    key_.SetString(L"StartUp", L"hkUnHide", L"Ctrl+U");
    Start();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ui.Click(L"Specify additional actions"));
    ASSERT_TRUE(ui.Choose(ids::cbxVclStyles, L"TabletDark"));
    PressKeys({VK_CONTROL}, 'H');
    ASSERT_TRUE(WaitUntil(noneShown));
    PressKeys({VK_CONTROL}, 'U');
    EXPECT_TRUE(WaitUntil(allShown));
}

// Wine takes the scale of a process from this value when the process starts.
class ScopedScale {
public:
    explicit ScopedScale(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        DWORD size = sizeof(previous_);
        hadValue_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_),
                                     &size) == ERROR_SUCCESS;
        RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }
    ~ScopedScale() {
        if (hadValue_)
            RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                           sizeof(previous_));
        else
            RegDeleteValueW(key_, L"LogPixels");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    DWORD previous_ = 96;
    bool hadValue_ = false;
};

TEST_F(MainWindowTest, LaysOutEveryPageWithinItsAreaAtTwiceTheScale) {
    ScopedScale scale(192);
    MainWindowDriver& ui = Start();
    ASSERT_NE(main_, nullptr);
    RECT client{};
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, 2112);
    EXPECT_EQ(client.bottom, 1084);
    for (const PageButton& page : kPages) {
        ASSERT_TRUE(ui.Click(page.caption));
        HWND pageWindow = GetParent(ui.ControlById(page.controlOnPage));
        RECT area{};
        GetWindowRect(pageWindow, &area);
        for (HWND c = GetWindow(pageWindow, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r{};
            GetWindowRect(c, &r);
            EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom)
                << page.shotName << " control " << GetDlgCtrlID(c);
        }
    }
    ASSERT_TRUE(ui.Click(L"Configure Hushcloak actions"));
    EXPECT_TRUE(SaveWindowShot(main_, ShotPath(L"onyx-setup-200.bmp")));
}

}  // namespace
}  // namespace hctest
