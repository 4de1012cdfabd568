#include <gtest/gtest.h>

#include <algorithm>

#include "Doubles.h"
#include "TestSupport.h"
#include "engine/WindowEngine.h"
#include "settings/Conversions.h"
#include "settings/Settings.h"

namespace hc {
namespace {

class WindowEngineTest : public ::testing::Test {
protected:
    hctest::CallLog log_;
    Win32WindowSystem windows_;
    hctest::EngineRig rig_{windows_, log_};
    hctest::WindowHelper helper_;

    void SetUp() override { ASSERT_TRUE(helper_.IsRunning()); }

    static bool AllHidden(const std::vector<HWND>& list) {
        return std::none_of(list.begin(), list.end(), [](HWND w) { return IsWindowVisible(w); });
    }
    static bool AllShown(const std::vector<HWND>& list) {
        return std::all_of(list.begin(), list.end(), [](HWND w) { return IsWindowVisible(w); });
    }
    // The windows of the list from the front to the back.
    static std::vector<HWND> StackingOf(const std::vector<HWND>& list) {
        std::vector<HWND> order;
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
            if (std::find(list.begin(), list.end(), w) != list.end()) order.push_back(w);
        return order;
    }
    bool IsHiddenEntry(HWND window) const {
        return std::any_of(rig_.engine.Hidden().begin(), rig_.engine.Hidden().end(),
                           [&](const HiddenWindow& e) { return e.handle == window; });
    }
};

TEST_F(WindowEngineTest, HideAllAndRestoreKeepTheOrderOfHiding) {
    const auto opened = helper_.OpenMany(L"Document", 6);
    ASSERT_TRUE(rig_.engine.DoHideAllWindows(0));
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllHidden(opened); }));
    ASSERT_EQ(rig_.engine.Hidden().size(), opened.size());
    for (const HiddenWindow& entry : rig_.engine.Hidden()) EXPECT_FALSE(entry.timeStamp.empty());

    std::vector<HWND> hiddenOrder;
    for (const HiddenWindow& entry : rig_.engine.Hidden()) hiddenOrder.push_back(entry.handle);
    rig_.engine.RestoreWindows();
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllShown(opened); }));
    EXPECT_TRUE(rig_.engine.Hidden().empty());

    std::vector<std::pair<long, HWND>> shown;
    for (HWND window : opened) shown.emplace_back(helper_.ShownSequence(window), window);
    std::sort(shown.begin(), shown.end());
    std::vector<HWND> shownOrder;
    for (auto& [at, window] : shown) shownOrder.push_back(window);
    EXPECT_EQ(shownOrder, hiddenOrder);
}

TEST_F(WindowEngineTest, HideAllLeavesTheDesktopAloneButNotAnotherProgramsWindowWithOurDialogsTitle) {
    HWND namesake = helper_.Open(L"HUSHCLOAK PRIVACY 6.0");
    HWND desktop = helper_.Open(L"Program Manager");
    HWND other = helper_.Open(L"Spreadsheet");
    rig_.engine.DoHideAllWindows(0);
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllHidden({other, namesake}); }));
    EXPECT_TRUE(IsWindowVisible(desktop));
    EXPECT_TRUE(IsHiddenEntry(namesake));
    EXPECT_FALSE(IsHiddenEntry(desktop));
    rig_.engine.RestoreWindows();
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllShown({other, namesake}); }));
}

TEST_F(WindowEngineTest, HideActiveHidesTheForegroundWindowOnly) {
    HWND background = helper_.Open(L"Background");
    HWND active = helper_.Open(L"Active");
    ASSERT_TRUE(hctest::WaitUntil([&] { return helper_.BringToFront(active) && GetForegroundWindow() == active; }));
    ASSERT_TRUE(rig_.engine.DoHideActiveWindows(Sender::None, 0));
    EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(active); }));
    EXPECT_TRUE(IsWindowVisible(background));
    ASSERT_EQ(rig_.engine.Hidden().size(), 1u);
    EXPECT_EQ(rig_.engine.Hidden()[0].title, L"Active");
}

TEST_F(WindowEngineTest, HideActiveFromThePanicButtonTakesTheWindowInFrontBeforeTheClick) {
    HWND before = helper_.Open(L"Was in front");
    HWND panic = helper_.Open(L"Panic");
    rig_.shell.lastActive = before;
    ASSERT_TRUE(hctest::WaitUntil([&] { return helper_.BringToFront(panic) && GetForegroundWindow() == panic; }));
    rig_.engine.DoHideActiveWindows(Sender::PanicButton, 0);
    EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(before); }));
    EXPECT_TRUE(IsWindowVisible(panic));
}

TEST_F(WindowEngineTest, AWindowThatARestoreWouldLeaveHiddenIsNeverHidden) {
    // Restoring skips this title; hiding it would lose it for good.
    HWND cache = helper_.Open(L"cache manager");
    HWND normal = helper_.Open(L"Letter");
    rig_.engine.DoHideAllWindows(0);
    ASSERT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(normal); }));
    EXPECT_TRUE(IsWindowVisible(cache));
    EXPECT_FALSE(IsHiddenEntry(cache));
    rig_.engine.RestoreWindows();
    EXPECT_TRUE(hctest::WaitUntil([&] { return IsWindowVisible(normal) != FALSE; }));
    EXPECT_TRUE(rig_.engine.Hidden().empty());
}

TEST_F(WindowEngineTest, CloseAllAsksEveryListedWindowOnceEvenWithSharedTitles) {
    HWND first = helper_.Open(L"Untitled");
    HWND second = helper_.Open(L"Untitled");
    HWND third = helper_.Open(L"Chat");
    ASSERT_TRUE(rig_.engine.DoCloseAllWindows(0));
    EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindow(first) && !IsWindow(second) && !IsWindow(third); }));
    EXPECT_EQ(helper_.CloseRequests(), 3);
    EXPECT_TRUE(rig_.engine.Hidden().empty());
}

TEST_F(WindowEngineTest, CloseActiveRecordsTheWindowWithTheDateOnly) {
    HWND active = helper_.Open(L"Private chat");
    ASSERT_TRUE(hctest::WaitUntil([&] { return helper_.BringToFront(active) && GetForegroundWindow() == active; }));
    ASSERT_TRUE(rig_.engine.DoCloseActiveWindow(Sender::None, 0));
    EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindow(active); }));
    ASSERT_EQ(rig_.engine.Hidden().size(), 1u);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(rig_.engine.Hidden()[0].timeStamp, DateOnlyStamp(now));
    EXPECT_EQ(rig_.engine.Hidden()[0].title, L"Private chat");
}

TEST_F(WindowEngineTest, ExitRestoreShowsTheWindowsKeepsTheEntriesAndClearsTheJournal) {
    const auto opened = helper_.OpenMany(L"Photos", 2);
    rig_.engine.DoHideAllWindows(0);
    ASSERT_TRUE(hctest::WaitUntil([&] { return AllHidden(opened); }));
    EXPECT_EQ(rig_.journal.saved.size(), 2u);
    rig_.engine.IsExiting();
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllShown(opened); }));
    EXPECT_EQ(rig_.engine.Hidden().size(), 2u);
    EXPECT_TRUE(rig_.journal.saved.empty());
}

TEST_F(WindowEngineTest, ListMenusHideOneAndShowOneOrAll) {
    const auto opened = helper_.OpenMany(L"Tab", 3);
    rig_.visible.DoGetWindows();
    const auto at = std::find_if(rig_.visible.Entries().begin(), rig_.visible.Entries().end(),
                                 [&](const VisibleWindow& e) { return e.handle == opened[1]; });
    ASSERT_NE(at, rig_.visible.Entries().end());
    const size_t before = rig_.visible.Entries().size();
    rig_.engine.HideSelectedWindow(static_cast<size_t>(at - rig_.visible.Entries().begin()));
    EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(opened[1]); }));
    EXPECT_EQ(rig_.visible.Entries().size(), before - 1);
    ASSERT_EQ(rig_.engine.Hidden().size(), 1u);
    rig_.engine.ShowSelectedWindow(0);
    EXPECT_TRUE(hctest::WaitUntil([&] { return IsWindowVisible(opened[1]); }));
    EXPECT_TRUE(rig_.engine.Hidden().empty());

    rig_.engine.DoHideAllWindows(0);
    ASSERT_TRUE(hctest::WaitUntil([&] { return AllHidden(opened); }));
    rig_.engine.ShowAllWindows();
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllShown(opened); }));
    EXPECT_TRUE(rig_.engine.Hidden().empty());
}

TEST_F(WindowEngineTest, AHungProgramDoesNotStallHidingOrRestoring) {
    HWND hung = helper_.OpenHungable(L"Frozen editor");
    ASSERT_NE(hung, nullptr);
    hctest::WindowHelper others;
    const auto responsive = others.OpenMany(L"Responsive", 49);
    helper_.Hang(8000);
    ASSERT_TRUE(hctest::WaitUntil([&] {  // until the helper's thread has stopped pumping
        DWORD_PTR result = 0;
        return !SendMessageTimeoutW(hung, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20, &result);
    }));

    const DWORD start = GetTickCount();
    rig_.engine.DoHideAllWindows(0);
    const DWORD hideTook = GetTickCount() - start;
    EXPECT_LT(hideTook, 3000u);
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllHidden(responsive); }, 3000));
    EXPECT_EQ(rig_.engine.Hidden().size(), responsive.size() + 1);

    const DWORD restoreStart = GetTickCount();
    rig_.engine.RestoreWindows();
    EXPECT_LT(GetTickCount() - restoreStart, 3000u);
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllShown(responsive); }, 3000));
    // once the program recovers, its window comes back too
    EXPECT_TRUE(hctest::WaitUntil([&] { return IsWindowVisible(hung) != FALSE; }, 15000));
}

TEST_F(WindowEngineTest, ShowHideClosesThePanicButtonWhenAskedAndNeverHidesIt) {
    HWND window = helper_.Open(L"Music");
    HWND other = helper_.Open(L"Video");
    rig_.settings.fHidePanicBtn = true;
    rig_.engine.ShowHideWindow(0, window);
    EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(window); }));
    rig_.engine.ShowHideWindow(1, window);
    EXPECT_TRUE(hctest::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(log_, (hctest::CallLog{"ClosePanicButton", "ClosePanicButton", "TrayOn"}));
    rig_.shell.panicButton = window;
    rig_.engine.ShowHideWindow(0, window);
    rig_.engine.ShowHideWindow(0, other);
    // Hides happen in order on the helper's one thread: once the second is done, the first was refused.
    EXPECT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(other); }));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(WindowEngineTest, AnOwnedPopupGoesAndComesBackWithItsOwner) {
    HWND owner = helper_.Open(L"Editor");
    HWND popup = helper_.OpenPopup(owner);
    ASSERT_TRUE(popup);
    rig_.engine.DoHideAllWindows(0);
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllHidden({owner, popup}); }));
    rig_.engine.RestoreWindows();
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllShown({owner, popup}); }));
}

TEST_F(WindowEngineTest, ARestoreGivesTheFrontBackAndKeepsAMaximisedWindowMaximised) {
    HWND big = helper_.Open(L"Spreadsheet");
    HWND front = helper_.Open(L"Mail");
    ShowWindow(big, SW_MAXIMIZE);
    ASSERT_TRUE(hctest::WaitUntil([&] { return IsZoomed(big) != FALSE; }));
    ASSERT_TRUE(hctest::WaitUntil([&] { return helper_.BringToFront(front) && GetForegroundWindow() == front; }));
    rig_.engine.DoHideAllWindows(0);
    ASSERT_TRUE(hctest::WaitUntil([&] { return AllHidden({big, front}); }));
    rig_.engine.RestoreWindows();
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllShown({big, front}) && GetForegroundWindow() == front; }));
    EXPECT_TRUE(IsZoomed(big));
}

// Windows given back in the order of hiding, which is the stacking from the front, come back as they stand, not
// each on top of the one before (that stacked them upside down).
TEST_F(WindowEngineTest, ARestoreLeavesTheWindowsStackedAsTheyWere) {
    const auto opened = helper_.OpenMany(L"Letter", 4);
    // Another window holds the activation: a letter activated late would be raised in the middle of the test.
    HWND front = helper_.Open(L"Front");
    ASSERT_TRUE(hctest::WaitUntil([&] { return helper_.BringToFront(front) && GetForegroundWindow() == front; }));
    for (HWND window : opened)
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(hctest::WaitUntil([&] { return AllHidden(opened); }));
    // Taken once they are hidden: Wine may restack a window as it hides it.
    const auto stacked = StackingOf(opened);
    HiddenWindowList hidden;
    for (HWND window : stacked) hidden.push_back(HiddenWindow{window, L"Letter", L"", 0, 0});
    rig_.engine.AdoptHidden(hidden);
    rig_.engine.RestoreWindows();
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllShown(opened); }));
    EXPECT_EQ(StackingOf(opened), stacked);

    // A hide-all leaves them where they stand too: ShowWindow would have put each on top in turn, upside down.
    rig_.engine.DoHideAllWindows(0);
    ASSERT_TRUE(hctest::WaitUntil([&] { return AllHidden(opened); }));
    EXPECT_EQ(StackingOf(opened), stacked);
    rig_.engine.RestoreWindows();
    EXPECT_TRUE(hctest::WaitUntil([&] { return AllShown(opened); }));
    EXPECT_EQ(StackingOf(opened), stacked);
}

}  // namespace
}  // namespace hc
