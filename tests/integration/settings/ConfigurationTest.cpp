#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Shell.h"
#include "settings/Configuration.h"

namespace hc {
namespace {

TEST(Configuration, CreatesBothFoldersWithTheirParentsOnceOnly) {
    const std::wstring root = hctest::MakeTempFolder(L"hc_config") + L"\\ProgramData";
    const Configuration first = ConfigurationSetup(root);
    EXPECT_EQ(first.dataFolder, root + L"\\HC\\bin\\");
    EXPECT_EQ(first.tempDownloadFolder, root + L"\\HC\\bin\\temp");
    EXPECT_EQ(first.localVersionFile, root + L"\\HC\\bin\\temp\\versionchk.cfg");
    EXPECT_EQ(first.localNewsFile, root + L"\\HC\\bin\\temp\\news.cfg");
    EXPECT_TRUE(shell::FolderExists(first.dataFolder));
    EXPECT_TRUE(shell::FolderExists(first.tempDownloadFolder));
    EXPECT_EQ(first.foldersCreated, 4);  // ProgramData, HC, bin, temp
    EXPECT_EQ(ConfigurationSetup(root).foldersCreated, 0);
}

TEST(Configuration, WithoutTheCommonFolderCreatesNothingAtTheRootOfTheDrive) {
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const std::wstring drive = std::wstring(cwd).substr(0, 2);
    const bool existedBefore = shell::FolderExists(drive + L"\\HC");
    const Configuration c = ConfigurationSetup(L"");
    EXPECT_EQ(c.foldersCreated, 0);
    EXPECT_TRUE(c.dataFolder.empty());
    EXPECT_TRUE(c.tempDownloadFolder.empty());
    if (!existedBefore) {
        EXPECT_FALSE(shell::FolderExists(drive + L"\\HC"));
    }
}

TEST(Configuration, NamesTheUpdateAddresses) {
    const std::wstring version = kVersionFileUrl;
    const std::wstring news = kNewsFileUrl;
    EXPECT_TRUE(version.ends_with(L"/downloads/updates/hc/versionchk.cfg"));
    EXPECT_TRUE(news.ends_with(L"/downloads/updates/hc/news.cfg"));
    EXPECT_NE(version.find(kUpdateServerName), std::wstring::npos);
}

}  // namespace
}  // namespace hc
