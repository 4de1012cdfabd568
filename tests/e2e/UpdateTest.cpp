#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

#include "HcFixture.h"
#include "LocalHttpServer.h"
#include "TrayDriver.h"
#include "UpdateSupport.h"

namespace hctest {
namespace {

constexpr char kVersionPath[] = "/downloads/updates/hc/versionchk.cfg";
constexpr char kNewsPath[] = "/downloads/updates/hc/news.cfg";
constexpr char kInstallerPath[] = "/downloads/hc_setup_x86.exe";
constexpr wchar_t kCaption[] = L"Hushcloak Privacy - WebUpdate";

class UpdateTest : public HcFixture {
protected:
    // A newer build, its news and an unsigned installer, as a user's first check finds them.
    void ServeNewerBuild(LocalHttpServer::Response installer) {
        const std::wstring origin = server_.Origin();
        server_.Serve(kVersionPath, "6.9.0.99\r\n24.12.2026\r\n" + std::string(origin.begin(), origin.end()) +
                                        "/downloads/hc_setup_Flag_Platform.exe\r\n");
        server_.Serve(kNewsPath, "Version 6.9 is out.\r\nIt hides faster.\r\n");
        installer.body = FileBytes(BinFolder() + L"\\winhelper.exe");
        server_.Serve(kInstallerPath, installer);
    }

    // Tray menu, "Check for updates...": the update window, found by its caption.
    HWND OpenUpdateWindow() {
        if (!OpenTrayMenu()) return nullptr;
        PressSequence({VK_DOWN, VK_DOWN, VK_RETURN});
        HWND update = nullptr;
        WaitUntil([&] { return (update = VisibleWindowOfHc(kCaption)) != nullptr; });
        return update;
    }

    // Clicks the button with this caption; returns it, so its caption can be followed after the click.
    static HWND Click(HWND window, const wchar_t* caption) {
        HWND button = FindWindowExW(window, nullptr, L"Button", caption);
        // Posted: a program that worked on its own thread would keep a sent click waiting as long as the server.
        if (button) PostMessageW(button, BM_CLICK, 0, 0);
        return button;
    }

    static bool Reads(HWND control, const std::wstring& text) { return WindowText(control) == text; }

    // Starts in the tray, opens the update window and checks: the newer build and its news. The window and its
    // "Download updates" button.
    std::pair<HWND, HWND> StartAndFindNewerBuild() {
        StartInTray();
        HWND update = OpenUpdateWindow();
        return {update, update ? CheckFindsNewerBuild(update) : nullptr};
    }

    // Checks and finds the newer build with its news; returns the "Download updates" button.
    HWND CheckFindsNewerBuild(HWND update) {
        HWND check = Click(update, L"Check for updates");
        EXPECT_NE(check, nullptr);
        // The latest version's label is set right after the button's caption.
        EXPECT_TRUE(WaitUntil([&] {
            return Reads(check, L"Check complete!") && FindWindowExW(update, nullptr, L"Static", L"v6.9.0 (Build 99)");
        }, 15000));
        wchar_t news[256] = {};
        SendMessageTimeoutW(FindWindowExW(update, nullptr, L"Edit", nullptr), WM_GETTEXT, 256,
                            reinterpret_cast<LPARAM>(news), SMTO_ABORTIFHUNG, 2000, nullptr);
        EXPECT_EQ(std::wstring(news), L"Version 6.9 is out.\r\nIt hides faster.");
        return FindWindowExW(update, nullptr, L"Button", L"Download updates");
    }

    LocalHttpServer server_;
};

// The server holds its answer, so the check waits on the network for as long as the test wants.
TEST_F(UpdateTest, CtrlSpaceHidesAtOnceWhileTheUpdateCheckWaitsForTheServer) {
    LocalHttpServer::Response held;
    held.body = "6.1.1.4\r\n24.12.2018\r\nhttps://www.hushcloak.com/setup.exe\r\n";
    held.held = true;
    server_.Serve(kVersionPath, held);
    ScopedUpdateServerVariable variable(server_.Origin());
    const auto windows = helper_.OpenMany(L"Private", 3);
    ASSERT_NO_FATAL_FAILURE(StartInTray());

    HWND update = OpenUpdateWindow();
    ASSERT_NE(update, nullptr);
    ASSERT_NE(Click(update, L"Check for updates"), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return server_.Requests(kVersionPath) == 1; }));

    PressKeys({VK_CONTROL}, VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return AllHidden(windows); }, 3000)) << "the panic key waited for the update check";
    EXPECT_EQ(server_.Requests(kVersionPath), 1) << "the check was still waiting for its answer";
    server_.Release();
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return AllShown(windows); }));
}

TEST_F(UpdateTest, ACheckFromTheTrayFindsTheNewerBuildAndAnUnsignedInstallerIsRefused) {
    ServeNewerBuild({});
    ScopedUpdateServerVariable variable(server_.Origin());
    const auto [update, download] = StartAndFindNewerBuild();
    ASSERT_NE(download, nullptr);

    PostMessageW(download, BM_CLICK, 0, 0);
    EXPECT_EQ(AnswerBox(L"Error", 15000),
              L"The downloaded update could not be verified, so it was not installed. Please try again later.");
    EXPECT_TRUE(WaitUntil([&] { return Reads(download, L"Failed... Retry?"); }));
    EXPECT_EQ(server_.Requests(kInstallerPath), 1);
    EXPECT_TRUE(hc_.IsRunning());
    EXPECT_EQ(VisibleWindowOfHc(kCaption), update);
}

// The installer arrives slowly; the panic comes in the middle of it.
TEST_F(UpdateTest, APanicDuringTheDownloadStopsItAndNothingComesBackBeforeTheRestore) {
    LocalHttpServer::Response slow;
    slow.chunkSize = 4096;
    slow.pauseMs = 50;
    ServeNewerBuild(slow);
    ScopedUpdateServerVariable variable(server_.Origin());
    const auto windows = helper_.OpenMany(L"Private", 2);
    const auto [update, download] = StartAndFindNewerBuild();
    ASSERT_NE(download, nullptr);
    PostMessageW(download, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return server_.Requests(kInstallerPath) == 1; }));
    ASSERT_TRUE(Reads(download, L"Downloading..."));

    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows) && !IsWindowVisible(update); }));
    // The download's end reaches the hidden window, and nothing of it reaches the screen.
    EXPECT_TRUE(WaitUntil([&] { return Reads(download, L"Failed... Retry?"); }, 15000));
    EXPECT_TRUE(VisibleWindowsOf(hc_.ProcessId()).size() <= 1u) << "only the Panic Button may show";
    EXPECT_EQ(FindWindowW(L"#32770", L"Error"), nullptr);
    EXPECT_TRUE(AllHidden(windows));
    EXPECT_TRUE(hc_.IsRunning());

    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return AllShown(windows) && IsWindowVisible(update); }));
    EXPECT_TRUE(Reads(download, L"Failed... Retry?"));
}

}  // namespace
}  // namespace hctest
