#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "TestSupport.h"
#include "UpdateServer.h"
#include "platform/Controls.h"
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
    hctest::UpdateServer server;
    ASSERT_TRUE(server.IsListening());
    server.Serve("/file.txt", "first\nsecond\n");
    const std::wstring folder = hctest::MakeTempFolder(L"hc_download");
    const std::wstring path = folder + L"\\file.txt";

    EXPECT_EQ(DownloadFile(server.Origin() + L"/file.txt", path), 0);
    EXPECT_EQ(ReadAll(path), "first\nsecond\n");

    // The service itself calls a 404 a success and saves the error page.
    EXPECT_EQ(DownloadFile(server.Origin() + L"/missing.txt", path), 1);
    EXPECT_FALSE(files::Exists(path));
    EXPECT_EQ(server.Requests("/missing.txt"), 1);

    const std::wstring closed = L"http://127.0.0.1:" + std::to_wstring(hctest::UpdateServer::ClosedPort());
    EXPECT_EQ(DownloadFile(closed + L"/file.txt", path), 1);
    EXPECT_FALSE(files::Exists(path));
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

class ProgressWindow : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_PROGRESS_CLASS;
        InitCommonControlsEx(&controls);
        parent = CreateWindowExW(0, L"STATIC", L"progress", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr, nullptr,
                                 nullptr);
        bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 200, 20, parent, nullptr, nullptr, nullptr);
        label = CreateWindowExW(0, L"STATIC", L"0 %", WS_CHILD, 0, 30, 200, 20, parent, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(parent); }
    HWND parent = nullptr;
    HWND bar = nullptr;
    HWND label = nullptr;
};

TEST_F(ProgressWindow, ShowsPercentsWithHalvesToEvenAndKeepsTheLabelForAMaximumOf0) {
    DownloadTargets targets{bar, label, nullptr, false, 0};
    bool cancel = false;
    TEventHandlers::URLOnDownloadProgress(targets, 512, 1024, 0, L"", cancel);
    EXPECT_EQ(controls::Text(label), L"50 %");
    EXPECT_EQ(controls::ProgressPosition(bar), 512);
    TEventHandlers::URLOnDownloadProgress(targets, 1, 8, 0, L"", cancel);
    EXPECT_EQ(controls::Text(label), L"12 %");
    TEventHandlers::URLOnDownloadProgress(targets, 3, 8, 0, L"", cancel);
    EXPECT_EQ(controls::Text(label), L"38 %");
    TEventHandlers::URLOnDownloadProgress(targets, 5, 8, 0, L"", cancel);
    EXPECT_EQ(controls::Text(label), L"62 %");
    TEventHandlers::URLOnDownloadProgress(targets, 100, 0, 0, L"", cancel);
    EXPECT_EQ(controls::Text(label), L"62 %");
    EXPECT_EQ(controls::ProgressPosition(bar), 0);
    EXPECT_FALSE(cancel);

    const bool stop = true;
    DownloadTargets stopped{bar, label, &stop, false, 0};
    TEventHandlers::URLOnDownloadProgress(stopped, 1, 2, 0, L"", cancel);
    EXPECT_TRUE(cancel);
}

TEST_F(ProgressWindow, DownloadEndsWithTheBarAt0AndLeavesNothingOnFailure) {
    hctest::UpdateServer server;
    hctest::UpdateServer::Response big;
    big.body.assign(200000, 'x');
    big.chunkSize = 50000;
    server.Serve("/setup.exe", big);
    const std::wstring path = hctest::MakeTempFolder(L"hc_progress") + L"\\setup.exe";

    EXPECT_EQ(DownloadFileWithProgress(server.Origin() + L"/setup.exe", path, bar, label), 0);
    EXPECT_EQ(controls::Text(label), L"100 %");
    EXPECT_EQ(controls::ProgressPosition(bar), 0);
    EXPECT_TRUE(files::Exists(path));

    EXPECT_EQ(DownloadFileWithProgress(server.Origin() + L"/none.exe", path, bar, label), 1);
    EXPECT_FALSE(files::Exists(path));

    hctest::UpdateServer::Response cut = big;
    cut.cutAfter = 1000;
    server.Serve("/cut.exe", cut);
    EXPECT_EQ(DownloadFileWithProgress(server.Origin() + L"/cut.exe", path, bar, label), 1);
    EXPECT_FALSE(files::Exists(path));
}

}  // namespace
}  // namespace hc
