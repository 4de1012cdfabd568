#include <gtest/gtest.h>

#include "update/UpdateAddresses.h"
#include "platform/Internet.h"
#include "update/UpdateSession.h"
#include "update/Version.h"

namespace hc {
namespace {

TVersion Read(std::vector<std::wstring> lines) {
    TVersion version;
    version.ReadVersionFile(lines, L"x86");
    return version;
}

TEST(VersionFile, ReadsTheThreeLinesAndComparesOnlyTheBuild) {
    const TVersion running(6, 1, 1, 4, L"x86", CalendarDate{2017, 8, 8}, L"");
    const TVersion latest = Read({L"6.1.1.5", L"24.12.2018", L"http://h/setup_Flag_Platform.exe", L"ignored"});
    EXPECT_EQ(latest.GetMajorVersion(), 6);
    EXPECT_EQ(latest.GetMinorVersion(), 1);
    EXPECT_EQ(latest.GetRelease(), 1);
    EXPECT_EQ(latest.GetBuild(), 5);
    EXPECT_EQ(latest.GetReleaseDate(), (CalendarDate{2018, 12, 24}));
    EXPECT_EQ(latest.GetUpdateInstallerURL(), L"http://h/setup_x86.exe");
    EXPECT_TRUE(latest.IsNewerVersion(running));
    EXPECT_FALSE(Read({L"7.0.0.4", L"1.1.2019", L""}).IsNewerVersion(running));
    EXPECT_TRUE(Read({L"1.0.0.5", L"1.1.2019", L""}).IsNewerVersion(running));
    EXPECT_EQ(Read({L"6.1.1.4294967296", L"1.1.2019", L""}).GetBuild(), 4294967296LL);
    EXPECT_EQ(Read({L"6..1.1.4", L"29.2.2020", L""}).GetBuild(), 4);
    EXPECT_EQ(Read({L"6.1.1.4", L"1.1.2019", L"a_flag_platform_Flag_PlatformFlag_Platform"}).GetUpdateInstallerURL(),
              L"a_flag_platform_x86x86");
    EXPECT_EQ(BuildOf(nullptr), 0);
    EXPECT_EQ(InstallerUrlOf(nullptr), L"");
}

TEST(VersionFile, AFileThatDoesNotParseFailsKeepingTheFieldsReadBefore) {
    TVersion version;
    EXPECT_THROW(version.ReadVersionFile({L"6.1.1", L"1.1.2019"}, L"x86"), VersionFileError);
    EXPECT_EQ(version.GetMajorVersion(), 6);
    EXPECT_EQ(version.GetRelease(), 1);
    EXPECT_EQ(version.GetBuild(), 0);
    EXPECT_THROW(Read({L"6.1.1.4", L"31.2.2018"}), VersionFileError);
    EXPECT_THROW(Read({L"6.1.1.4", L"29.2.2019"}), VersionFileError);
    EXPECT_THROW(Read({L"6.1.x.4", L"1.1.2019"}), VersionFileError);
    EXPECT_THROW(Read({L"6.1.1.4"}), VersionFileError);
    EXPECT_THROW(Read({}), VersionFileError);
}

TEST(UpdateAddresses, TheOverrideReplacesSchemeHostAndPortOnly) {
    const auto builtIn = ResolveUpdateAddresses(L"");
    EXPECT_TRUE(builtIn.versionFileUrl.starts_with(L"https://"));
    EXPECT_EQ(ResolveUpdateAddresses(L"127.0.0.1:80").versionFileUrl, builtIn.versionFileUrl);
    const auto local = ResolveUpdateAddresses(L"http://127.0.0.1:8765");
    EXPECT_EQ(local.serverName, L"127.0.0.1");
    EXPECT_EQ(local.versionFileUrl, L"http://127.0.0.1:8765/downloads/updates/hc/versionchk.cfg");
    EXPECT_EQ(local.newsFileUrl, L"http://127.0.0.1:8765/downloads/updates/hc/news.cfg");
    EXPECT_EQ(ResolveUpdateAddresses(L"http://localhost/").serverName, L"localhost");
}

TEST(UpdateAddresses, OnlyALoopbackOverrideIsHonouredAndOnlyThereIsPlainHttpAllowed) {
    const auto builtIn = ResolveUpdateAddresses(L"");
    for (const wchar_t* elsewhere : {L"http://example.com:8765", L"https://10.0.0.1", L"http://127.0.0.1@evil.com/",
                                     L"http://127.0.0.2", L"ftp://127.0.0.1", L"http://localhost.evil.com"}) {
        const auto ignored = ResolveUpdateAddresses(elsewhere);
        EXPECT_EQ(ignored.versionFileUrl, builtIn.versionFileUrl);
        EXPECT_EQ(ignored.serverName, builtIn.serverName);
        EXPECT_TRUE(ignored.testHost.empty());
    }
    EXPECT_EQ(ResolveUpdateAddresses(L"http://[::1]:8080").versionFileUrl,
              L"http://[::1]:8080/downloads/updates/hc/versionchk.cfg");
    EXPECT_EQ(ResolveUpdateAddresses(L"http://LocalHost:1").testHost, L"localhost");

    EXPECT_TRUE(IsAllowedDownloadUrl(L"https://www.hushcloak.com/setup.exe", builtIn));
    EXPECT_TRUE(IsAllowedDownloadUrl(L"HTTPS://mirror.example/setup.exe", builtIn));
    EXPECT_FALSE(IsAllowedDownloadUrl(L"http://www.hushcloak.com/setup.exe", builtIn));
    EXPECT_FALSE(IsAllowedDownloadUrl(L"http://127.0.0.1/setup.exe", builtIn));
    const auto local = ResolveUpdateAddresses(L"http://127.0.0.1:8765");
    EXPECT_TRUE(IsAllowedDownloadUrl(L"http://127.0.0.1:9/setup.exe", local));
    EXPECT_FALSE(IsAllowedDownloadUrl(L"http://localhost/setup.exe", local));
    EXPECT_FALSE(IsAllowedDownloadUrl(L"http://example.com/setup.exe", local));
    EXPECT_FALSE(IsAllowedDownloadUrl(L"file:///C:/setup.exe", local));
}

TEST(PinnedSigner, OnlyTheRecordedKeyMatchesAndAnEmptyPinMatchesNothing) {
    EXPECT_TRUE(IsPinnedSigner("ab12", "ab12"));
    EXPECT_FALSE(IsPinnedSigner("ab13", "ab12"));
    EXPECT_FALSE(IsPinnedSigner("", ""));
}

TEST(DownloadAddress, ARedirectFromHttpsToAnythingElseIsADowngrade) {
    EXPECT_TRUE(internet::IsDowngradingRedirect(L"https://www.hushcloak.com/a.exe", L"http://www.hushcloak.com/a.exe"));
    EXPECT_TRUE(internet::IsDowngradingRedirect(L"HTTPS://h/a.exe", L"ftp://h/a.exe"));
    EXPECT_FALSE(internet::IsDowngradingRedirect(L"https://h/a.exe", L"HTTPS://mirror/a.exe"));
    EXPECT_FALSE(internet::IsDowngradingRedirect(L"http://127.0.0.1/a.exe", L"http://127.0.0.1/b.exe"));
}

TEST(PinnedSigner, OnlyAnInstallerOfANewerBuildRuns) {
    const TVersion running(6, 1, 1, 4, L"x86", {}, L"");
    EXPECT_TRUE(IsNewerInstaller(std::array<unsigned, 4>{6, 1, 1, 5}, running));
    EXPECT_TRUE(IsNewerInstaller(std::array<unsigned, 4>{7, 0, 0, 0}, running));
    EXPECT_FALSE(IsNewerInstaller(std::array<unsigned, 4>{6, 1, 1, 4}, running));  // a reinstall is no update
    EXPECT_FALSE(IsNewerInstaller(std::array<unsigned, 4>{6, 0, 9, 99}, running));  // a rollback
    EXPECT_FALSE(IsNewerInstaller(std::nullopt, running));
}

TEST(RunningVersion, DescribesTheRunningBuild) {
    const TVersion v = RunningVersion();
    EXPECT_EQ(v.GetMajorVersion(), 6);
    EXPECT_EQ(v.GetMinorVersion(), 1);
    EXPECT_EQ(v.GetRelease(), 1);
    EXPECT_EQ(v.GetBuild(), 4);
    EXPECT_EQ(v.GetPlatform(), L"x86");
    EXPECT_EQ(v.GetReleaseDate(), (CalendarDate{2017, 8, 8}));
    EXPECT_EQ(v.GetUpdateInstallerURL(), L"");
    EXPECT_EQ(TVersion().GetBuild(), 0);
    EXPECT_EQ(TVersion().GetReleaseDate(), CalendarDate{});
}

}  // namespace
}  // namespace hc
