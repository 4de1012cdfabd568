#include <gtest/gtest.h>
#include <windows.h>

#include "HcFixture.h"
#include "mainwindow/MainWindowIds.h"
#include "platform/Registry.h"

namespace hctest {
namespace {

namespace ids = hc::mainids;

std::optional<std::vector<std::wstring>> StoredList() {
    hc::UniqueHkey section = hc::registry::OpenKey(HKEY_CURRENT_USER, L"HushCloak\\StartUp");
    return section ? hc::registry::ReadMultiString(section.get(), L"KeepVisible") : std::nullopt;
}

// The entries of another process's list box.
std::vector<std::wstring> ListBoxEntries(HWND list) {
    std::vector<std::wstring> entries;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        entries.push_back(text);
    }
    return entries;
}

bool InTabOrder(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0; }

using KeepVisibleTest = HcFixture;

TEST_F(KeepVisibleTest, TheMenuKeepsAProgramThroughARestartAPanicHidesOnlyTheOtherAndRemoveTakesItOff) {
    const std::wstring jukeboxExe = MakeTempFolder(L"hc_keep") + L"\\Jukebox.exe";
    ASSERT_TRUE(CopyFileW((BinFolder() + L"winhelper.exe").c_str(), jukeboxExe.c_str(), FALSE));
    WindowHelper jukeboxProgram(jukeboxExe);
    ASSERT_TRUE(jukeboxProgram.IsRunning());
    HWND ledger = helper_.Open(L"Ledger 2026");
    HWND jukebox = jukeboxProgram.Open(L"Jukebox radio");

    HWND main = StartWithMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(ui_.Click(L"Windows that anyone can see"));
    {
        RemoteListView visible(ui_.ControlById(ids::VisibleWindows));
        const int row = visible.Find(1, L"Jukebox radio");
        ASSERT_GE(row, 0);
        EXPECT_EQ(visible.Text(row, 3), L"");
        ASSERT_TRUE(visible.Select(row));
        ASSERT_TRUE(ui_.ChooseFromMenu(ids::VisibleWindows, 1));  // "Always keep this program visible"
        EXPECT_EQ(visible.Text(visible.Find(1, L"Jukebox radio"), 3), L"yes");
        EXPECT_EQ(visible.Text(visible.Find(1, L"Ledger 2026"), 3), L"");
    }
    ASSERT_TRUE(ui_.Click(L"Configure Hushcloak actions"));
    HWND kept = ui_.ControlById(ids::lbKeepVisible);
    EXPECT_EQ(ListBoxEntries(kept), std::vector<std::wstring>{L"Jukebox.exe"});
    ASSERT_NE(ui_.Control(L"Programs that are never hidden"), nullptr);
    EXPECT_TRUE(InTabOrder(kept));
    EXPECT_TRUE(InTabOrder(ui_.Control(L"Remove")));
    EXPECT_FALSE(IsWindowEnabled(ui_.Control(L"Remove"))) << "nothing is selected";
    EXPECT_TRUE(SaveWindowShot(main, ShotPath(L"onyx-setup-kept.bmp")));
    ASSERT_TRUE(ui_.Click(L"Close"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    EXPECT_EQ(StoredList(), std::vector<std::wstring>{L"Jukebox.exe"});

    hc_.Stop();
    main = StartWithMainWindow();
    ASSERT_NE(main, nullptr);
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(ledger); }));
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(jukebox); }, 500)) << "the kept program stays";
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(ledger); }));
    EXPECT_TRUE(IsWindowVisible(jukebox));

    hc_.Stop();
    main = StartWithMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(ui_.Click(L"Configure Hushcloak actions"));
    kept = ui_.ControlById(ids::lbKeepVisible);
    ASSERT_EQ(ListBoxEntries(kept), std::vector<std::wstring>{L"Jukebox.exe"});
    // Selected as the user does: the selection, then the change notice.
    SendMessageW(kept, LB_SETCURSEL, 0, 0);
    SendMessageW(GetParent(kept), WM_COMMAND, MAKEWPARAM(ids::lbKeepVisible, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(kept));
    ASSERT_TRUE(IsWindowEnabled(ui_.Control(L"Remove")));
    ASSERT_TRUE(ui_.Click(L"Remove"));
    EXPECT_TRUE(ListBoxEntries(kept).empty());
    EXPECT_FALSE(IsWindowEnabled(ui_.Control(L"Remove")));
    ASSERT_TRUE(ui_.Click(L"Close"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    EXPECT_EQ(StoredList(), std::vector<std::wstring>{});
    hc_.Stop();
    DeleteFileW(jukeboxExe.c_str());
}

}  // namespace
}  // namespace hctest
