#include <gtest/gtest.h>

#include "CleanupSupport.h"
#include "HcProcess.h"
#include "TestSupport.h"
#include "platform/Files.h"
#include "platform/RecycleBin.h"

namespace hctest {
namespace {

TEST(CleanupEndToEnd, APanicEmptiesTheBinThenMovesTheRecentDocumentsIntoIt) {
    const std::wstring why = WhyNotPrivateSandbox();
    if (!why.empty()) GTEST_SKIP() << "this deletes files: " << std::string(why.begin(), why.end());
    ClearTrash();
    ScopedCleanKey key;
    key.SetString(L"StartUp", L"Tray", L"1");
    key.SetString(L"StartUp", L"MuteAudio", L"0");
    key.SetString(L"StartUp", L"DoBin", L"1");
    key.SetString(L"StartUp", L"Recent", L"1");
    const std::wstring recent = hc::files::RecentDocumentsFolder();
    ASSERT_TRUE(WriteTextFile(recent + L"\\salary.xlsx.lnk", "link"));
    const std::wstring binned = MakeTempFolder(L"hc_e2e_bin") + L"\\yesterday.txt";
    ASSERT_TRUE(WriteTextFile(binned, "old"));
    ASSERT_TRUE(hc::recyclebin::MoveToRecycleBin({binned}));
    ASSERT_EQ(NamesIn(TrashFilesFolder()), std::vector<std::wstring>{L"yesterday.txt"});
    WindowHelper helper;
    const HWND window = helper.Open(L"Salaries");
    HcProcess hc;
    ASSERT_TRUE(hc.Start());
    ASSERT_TRUE(hc.WaitUntilStarted());

    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    EXPECT_TRUE(WaitUntil([&] { return NamesIn(TrashFilesFolder()) == std::vector<std::wstring>{L"salary.xlsx.lnk"}; }))
        << "the bin holds " << NamesIn(TrashFilesFolder()).size() << " entries";
    EXPECT_TRUE(NamesIn(recent).empty());
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    hc.Stop();
    ClearTrash();
}

}  // namespace
}  // namespace hctest
