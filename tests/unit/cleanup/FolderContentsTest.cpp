#include <gtest/gtest.h>

#include "CleanupSupport.h"
#include "TestSupport.h"
#include "cleanup/FolderContents.h"

namespace hc {
namespace {

TEST(IsDeletableFolderPath, TakesOnlyFullPathsBelowARoot) {
    for (const wchar_t* path : {L"C:\\users\\me\\Recent", L"c:\\R", L"\\\\server\\share\\Recent"})
        EXPECT_TRUE(IsDeletableFolderPath(path)) << path;
    for (const wchar_t* path : {L"",
                                L"\\",
                                L"\\Recent",
                                L"Recent",
                                L"users\\Recent",
                                L"C:",
                                L"C:Recent",
                                L"C:\\",
                                L"C:\\Recent\\",
                                L"C:\\a\\..\\b",
                                L"C:\\a\\.\\b",
                                L"C:\\a\\\\b",
                                L"C:\\Recent\\*",
                                L"C:\\Rec?nt",
                                L"C:/users/Recent",
                                L"C:\\a:stream",
                                L"\\\\server",
                                L"\\\\server\\share",
                                L"\\\\?\\C:\\Recent",
                                L"\\\\.\\pipe\\x\\y"})
        EXPECT_FALSE(IsDeletableFolderPath(path)) << path;
}

// An empty path once made "\*.*", the root of the current drive.
TEST(DeleteFolderContents, DeletesNothingForAnEmptyOrRelativePath) {
    const std::wstring why = hctest::WhyNotPrivateSandbox();
    if (!why.empty()) GTEST_SKIP() << "would risk real files: " << std::string(why.begin(), why.end());
    const std::wstring folder = hctest::MakeTempFolder(L"hc_relative");
    CreateDirectoryW((folder + L"\\Recent").c_str(), nullptr);
    ASSERT_TRUE(hctest::WriteTextFile(folder + L"\\Recent\\letter.txt", "keep"));
    ASSERT_TRUE(hctest::WriteTextFile(folder + L"\\notes.txt", "keep"));
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    const auto rootBefore = hctest::NamesIn(L"C:");
    for (const wchar_t* path : {L"", L".", L"Recent", L".\\Recent", L"\\", L"C:"})
        EXPECT_FALSE(DeleteFolderContents(path)) << path;
    SetCurrentDirectoryW(before);
    EXPECT_TRUE(hctest::PathExists(folder + L"\\Recent\\letter.txt"));
    EXPECT_TRUE(hctest::PathExists(folder + L"\\notes.txt"));
    EXPECT_EQ(hctest::NamesIn(L"C:"), rootBefore);
}

}  // namespace
}  // namespace hc
