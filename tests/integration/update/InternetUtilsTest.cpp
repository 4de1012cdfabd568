#include <gtest/gtest.h>

#include <windows.h>

#include <thread>
#include <vector>

#include "TestSupport.h"
#include "LocalHttpServer.h"
#include "platform/Files.h"
#include "update/InternetUtils.h"

namespace hc {
namespace {

std::string ReadAll(const std::wstring& path) {
    const auto lines = files::ReadLines(path);
    std::string text;
    if (lines)
        for (const auto& line : *lines) text += files::ToCodePage(line) + "\n";
    return text;
}

TEST(DownloadFile, SavesA200AndRefusesAnErrorPageOrAClosedPort) {
    hctest::LocalHttpServer server;
    ASSERT_TRUE(server.IsListening());
    server.Serve("/file.txt", "first\nsecond\n");
    const std::wstring folder = hctest::MakeTempFolder(L"hc_download");
    const std::wstring path = folder + L"\\file.txt";

    EXPECT_EQ(DownloadFile(server.Origin() + L"/file.txt", path, kMaxVersionFileBytes), 0);
    EXPECT_EQ(ReadAll(path), "first\nsecond\n");

    // The service itself calls a 404 a success and saves the error page.
    EXPECT_EQ(DownloadFile(server.Origin() + L"/missing.txt", path, kMaxVersionFileBytes), 1);
    EXPECT_FALSE(files::Exists(path));
    EXPECT_EQ(server.Requests("/missing.txt"), 1);

    const std::wstring closed = L"http://127.0.0.1:" + std::to_wstring(hctest::LocalHttpServer::ClosedPort());
    EXPECT_EQ(DownloadFile(closed + L"/file.txt", path, kMaxVersionFileBytes), 1);
    EXPECT_FALSE(files::Exists(path));
}

TEST(DownloadFile, AFileLargerThanItsPurposeIsStoppedAndLeavesNothing) {
    hctest::LocalHttpServer server;
    hctest::LocalHttpServer::Response huge;
    huge.body.assign(kMaxVersionFileBytes + 1, 'x');
    server.Serve("/versionchk.cfg", huge);
    const std::wstring path = hctest::MakeTempFolder(L"hc_cap") + L"\versionchk.cfg";
    EXPECT_EQ(DownloadFile(server.Origin() + L"/versionchk.cfg", path, kMaxVersionFileBytes), 1);
    EXPECT_FALSE(files::Exists(path));
    // Without a Content-Length the bytes themselves are counted.
    huge.omitLength = true;
    huge.chunkSize = 1024;
    server.Serve("/versionchk.cfg", huge);
    EXPECT_EQ(DownloadFile(server.Origin() + L"/versionchk.cfg", path, kMaxVersionFileBytes), 1);
    EXPECT_FALSE(files::Exists(path));
    huge.body.resize(kMaxVersionFileBytes);
    server.Serve("/versionchk.cfg", huge);
    EXPECT_EQ(DownloadFile(server.Origin() + L"/versionchk.cfg", path, kMaxVersionFileBytes), 0);
}

TEST(PingHost, AnswersForTheLoopbackAddress) {
    // The echo needs raw sockets (root under Wine); a silent host still counts as worth a download.
    const int result = PingHost(L"127.0.0.1", 1000);
    EXPECT_TRUE(result == 0 || result == 1) << result;
    EXPECT_TRUE(ServerMayBeReachable(result));
    EXPECT_FALSE(ServerMayBeReachable(-1));
    EXPECT_FALSE(ServerMayBeReachable(-2));
    EXPECT_FALSE(ServerMayBeReachable(-3));
}

TEST(DownloadProgress, ReportsEachNewPercentWithHalvesToEvenAndStopsWhenAsked) {
    std::vector<int> reported;
    DownloadTargets targets{[&](int percent) { reported.push_back(percent); }, nullptr, -1};
    bool cancel = false;
    for (auto [position, maximum] : {std::pair{512u, 1024u}, {513u, 1024u}, {1u, 8u}, {3u, 8u}, {5u, 8u}, {100u, 0u}})
        TEventHandlers::URLOnDownloadProgress(targets, position, maximum, 0, L"", cancel);
    EXPECT_EQ(reported, (std::vector<int>{50, 12, 38, 62}));
    EXPECT_FALSE(cancel);

    const std::atomic<bool> stop{true};
    DownloadTargets stopped{{}, &stop, -1};
    TEventHandlers::URLOnDownloadProgress(stopped, 1, 2, 0, L"", cancel);
    EXPECT_TRUE(cancel);
}

TEST(DownloadProgress, AWorkerThreadDownloadsAndLeavesNothingOnFailure) {
    hctest::LocalHttpServer server;
    hctest::LocalHttpServer::Response big;
    big.body.assign(200000, 'x');
    big.chunkSize = 50000;
    server.Serve("/setup.exe", big);
    const std::wstring path = hctest::MakeTempFolder(L"hc_progress") + L"\\setup.exe";
    const auto onWorker = [&](const std::wstring& url, unsigned long long limit, int& last) {
        int result = -1;
        std::thread worker([&] {
            result = DownloadFileWithProgress(url, path, DownloadTargets{[&](int p) { last = p; }, nullptr, -1}, limit);
        });
        worker.join();
        return result;
    };
    int last = -1;
    EXPECT_EQ(onWorker(server.Origin() + L"/setup.exe", kMaxInstallerBytes, last), 0);
    EXPECT_EQ(last, 100);
    EXPECT_TRUE(files::Exists(path));

    EXPECT_EQ(onWorker(server.Origin() + L"/none.exe", kMaxInstallerBytes, last), 1);
    EXPECT_FALSE(files::Exists(path));

    hctest::LocalHttpServer::Response cut = big;
    cut.cutAfter = 1000;
    server.Serve("/cut.exe", cut);
    EXPECT_EQ(onWorker(server.Origin() + L"/cut.exe", kMaxInstallerBytes, last), 1);
    EXPECT_FALSE(files::Exists(path));
    EXPECT_EQ(onWorker(server.Origin() + L"/setup.exe", 100000, last), 1);
    EXPECT_FALSE(files::Exists(path));
}

}  // namespace
}  // namespace hc
