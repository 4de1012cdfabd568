#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "engine/VisibleWindowList.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

namespace hc {
namespace {


class VisibleWindowListTest : public ::testing::Test {
protected:
    Win32WindowSystem system_;
    Win32ProcessSystem processes_;
    ShellIconSource iconSource_;
    ProgramIcons icons_{iconSource_};
    VisibleWindowList list_{system_, processes_};
    hctest::WindowHelper helper_;

    void SetUp() override { ASSERT_TRUE(helper_.IsRunning()); }

    // New windows settle into the stacking order asynchronously; wait until two enumerations agree.
    void WaitForSettledOrder() {
        std::vector<HWND> last;
        hctest::WaitUntil([&] {
            auto now = system_.TopLevelWindows();
            const bool same = now == last;
            last = std::move(now);
            return same;
        }, 2000, 50);
    }

    const VisibleWindow* Find(HWND window) {
        list_.DoGetWindows();
        for (const auto& entry : list_.Entries())
            if (entry.handle == window) return &entry;
        return nullptr;
    }
};

TEST_F(VisibleWindowListTest, ListsOtherProgramsWindowsWithTitlePathAndIcon) {
    HWND window = helper_.Open(L"Quarterly report");
    const VisibleWindow* entry = Find(window);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->title, L"Quarterly report");
    EXPECT_NE(entry->processPath.find(L"winhelper.exe"), std::wstring::npos) << entry->processPath;
    EXPECT_GE(icons_.GetImageIndex(entry->processPath), 0);
}

TEST_F(VisibleWindowListTest, ExcludesTheDesktopInAnyCaseButNotAnotherProgramsWindowWithOurTitle) {
    HWND desktop = helper_.Open(L"pROGRAM mANAGER");
    HWND namesake = helper_.Open(L"hushcloak privacy 6.1");
    HWND other = helper_.Open(L"Program Manager 2");
    EXPECT_EQ(Find(desktop), nullptr);
    EXPECT_NE(Find(namesake), nullptr);
    EXPECT_NE(Find(other), nullptr);
}

TEST_F(VisibleWindowListTest, SkipsUntitledHiddenAndDecoyWindows) {
    HWND untitled = helper_.Open(L"");
    HWND hidden = helper_.Open(L"Hidden draft");
    ShowWindow(hidden, SW_HIDE);
    HWND decoy = helper_.Open(L"Decoy document");
    list_.SetDecoyAppHandle(decoy);
    EXPECT_EQ(Find(untitled), nullptr);
    EXPECT_EQ(Find(hidden), nullptr);
    EXPECT_EQ(Find(decoy), nullptr);
    list_.SetDecoyAppHandle(nullptr);
    EXPECT_NE(Find(decoy), nullptr);
}

TEST_F(VisibleWindowListTest, SkipsTheDevelopmentEnvironmentByPathInAnyCase) {
    const std::wstring folder = hctest::MakeTempFolder(L"hc_ide") + L"\\Bin";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring ide = folder + L"\\bDs.ExE";
    ASSERT_TRUE(CopyFileW((hctest::BinFolder() + L"winhelper.exe").c_str(), ide.c_str(), FALSE));
    {
        hctest::WindowHelper ideHelper(ide);
        ASSERT_TRUE(ideHelper.IsRunning());
        HWND window = ideHelper.Open(L"Project1 - IDE");
        EXPECT_EQ(Find(window), nullptr);
    }
    DeleteFileW(ide.c_str());
    EXPECT_TRUE(IsIdeProcessPath(L"c:\\tools\\BIN\\BDS.EXE"));
    EXPECT_FALSE(IsIdeProcessPath(L"c:\\tools\\bds.exe"));
}

TEST_F(VisibleWindowListTest, ListsWindowsOfOneTitleEachWithItsOwnHandle) {
    HWND first = helper_.Open(L"Untitled - Notes");
    HWND second = helper_.Open(L"Untitled - Notes");
    list_.DoGetWindows();
    std::vector<HWND> listed;
    for (const auto& entry : list_.Entries())
        if (entry.title == L"Untitled - Notes") listed.push_back(entry.handle);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_TRUE(std::find(listed.begin(), listed.end(), first) != listed.end());
    EXPECT_TRUE(std::find(listed.begin(), listed.end(), second) != listed.end());
}

TEST_F(VisibleWindowListTest, CutsLongTitlesTo254Characters) {
    std::wstring title;
    for (int i = 0; i < 300; ++i) title += static_cast<wchar_t>(L'a' + i % 26);
    const VisibleWindow* entry = Find(helper_.Open(title));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->title, title.substr(0, 254));
}

TEST_F(VisibleWindowListTest, RefreshingTwiceGivesTheSameListWithoutGrowingTheImages) {
    helper_.OpenMany(L"Refresh", 5);
    WaitForSettledOrder();
    list_.DoGetWindows();
    const auto first = list_.Entries();
    for (const auto& entry : first) icons_.GetImageIndex(entry.processPath);
    const int images = icons_.Count();
    list_.DoGetWindows();
    const auto& second = list_.Entries();
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].handle, second[i].handle);
        EXPECT_EQ(first[i].title, second[i].title);
        EXPECT_EQ(icons_.GetImageIndex(first[i].processPath), icons_.GetImageIndex(second[i].processPath));
    }
    EXPECT_EQ(icons_.Count(), images);
}

TEST_F(VisibleWindowListTest, KeepsTheEnumerationOrder) {
    auto opened = helper_.OpenMany(L"Order", 4);
    WaitForSettledOrder();
    list_.DoGetWindows();
    std::vector<HWND> enumerated;
    for (HWND window : system_.TopLevelWindows())
        if (std::find(opened.begin(), opened.end(), window) != opened.end()) enumerated.push_back(window);
    std::vector<HWND> listed;
    for (const auto& entry : list_.Entries())
        if (std::find(opened.begin(), opened.end(), entry.handle) != opened.end()) listed.push_back(entry.handle);
    EXPECT_EQ(listed, enumerated);
}

}  // namespace
}  // namespace hc
