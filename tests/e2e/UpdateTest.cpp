#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "HcProcess.h"
#include "LocalHttpServer.h"
#include "TestSupport.h"
#include "TrayDriver.h"
#include "UpdateSupport.h"

namespace hctest {
namespace {

constexpr char kVersionPath[] = "/downloads/updates/hc/versionchk.cfg";

HWND FindUpdateWindow(DWORD processId) {
    HWND found = nullptr;
    for (HWND w = FindWindowW(L"#32770", L"Hushcloak Privacy - WebUpdate"); w;
         w = FindWindowExW(nullptr, w, L"#32770", L"Hushcloak Privacy - WebUpdate")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId && IsWindowVisible(w)) found = w;
    }
    return found;
}

// The server holds its answer, so the check waits on the network for as long as the test wants.
TEST(UpdateTest, CtrlSpaceHidesAtOnceWhileTheUpdateCheckWaitsForTheServer) {
    LocalHttpServer server;
    LocalHttpServer::Response held;
    held.body = "6.1.1.4\r\n24.12.2018\r\nhttps://www.hushcloak.com/setup.exe\r\n";
    held.held = true;
    server.Serve(kVersionPath, held);
    ScopedUpdateServerVariable variable(server.Origin());
    ScopedCleanKey key;
    key.SetString(L"StartUp", L"Tray", L"1");
    // The Panic Button starts on top of Wine's tray window: out of the way.
    key.SetString(L"StartUp", L"PanicLeft", L"700");
    key.SetString(L"StartUp", L"PanicTop", L"600");
    WindowHelper helper;
    const auto windows = helper.OpenMany(L"Private", 3);
    HcProcess hc;
    ASSERT_TRUE(hc.Start());
    ASSERT_TRUE(hc.WaitUntilStarted());
    ASSERT_TRUE(WaitForTrayIconCount(1));

    ASSERT_NE(OpenTrayMenu(), nullptr);
    PressSequence({VK_DOWN, VK_DOWN, VK_RETURN});  // "Check for updates..."
    HWND update = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (update = FindUpdateWindow(hc.ProcessId())) != nullptr; }));
    HWND check = FindWindowExW(update, nullptr, L"Button", L"Check for updates");
    ASSERT_NE(check, nullptr);
    // Posted: a program that checked on its own thread would keep a sent click waiting as long as the server.
    PostMessageW(check, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return server.Requests(kVersionPath) == 1; }));

    PressKeys({VK_CONTROL}, VK_SPACE);
    const bool hidden = WaitUntil(
        [&] { return std::none_of(windows.begin(), windows.end(), [](HWND w) { return IsWindowVisible(w); }); }, 3000);
    EXPECT_TRUE(hidden) << "the panic key waited for the update check";
    EXPECT_EQ(server.Requests(kVersionPath), 1) << "the check was still waiting for its answer";
    server.Release();
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil(
        [&] { return std::all_of(windows.begin(), windows.end(), [](HWND w) { return IsWindowVisible(w); }); }));
}

}  // namespace
}  // namespace hctest
