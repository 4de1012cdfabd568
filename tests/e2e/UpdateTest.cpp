#include <gtest/gtest.h>

#include <windows.h>

#include "HcFixture.h"
#include "LocalHttpServer.h"
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

class UpdateTest : public HcFixture {
protected:
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

    ASSERT_NE(OpenTrayMenu(), nullptr);
    PressSequence({VK_DOWN, VK_DOWN, VK_RETURN});  // "Check for updates..."
    HWND update = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (update = FindUpdateWindow(hc_.ProcessId())) != nullptr; }));
    HWND check = FindWindowExW(update, nullptr, L"Button", L"Check for updates");
    ASSERT_NE(check, nullptr);
    // Posted: a program that checked on its own thread would keep a sent click waiting as long as the server.
    PostMessageW(check, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return server_.Requests(kVersionPath) == 1; }));

    PressKeys({VK_CONTROL}, VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return AllHidden(windows); }, 3000)) << "the panic key waited for the update check";
    EXPECT_EQ(server_.Requests(kVersionPath), 1) << "the check was still waiting for its answer";
    server_.Release();
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return AllShown(windows); }));
}

}  // namespace
}  // namespace hctest
