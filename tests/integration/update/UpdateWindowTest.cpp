#include <gtest/gtest.h>

#include "HotkeyDoubles.h"
#include "TestSupport.h"
#include "UpdateServer.h"
#include "UpdateSupport.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Locale.h"
#include "settings/Configuration.h"
#include "update/UpdateCommand.h"

namespace hc {
namespace {

using W = TUpdate_f;
constexpr char kVersionPath[] = "/downloads/updates/hc/versionchk.cfg";
constexpr char kNewsPath[] = "/downloads/updates/hc/news.cfg";

class UpdateWindowTest : public ::testing::Test {
protected:
    UpdateWindowTest()
        : folder(hctest::MakeTempFolder(L"hc_update")),
          session(running, ResolveUpdateAddresses(server.Origin()),
                  UpdatePaths{folder, folder + L"\\versionchk.cfg", folder + L"\\news.cfg"}, verifier, starter) {}

    void ServeLatest(const std::string& firstLine, const std::string& installerName = "setup_Flag_Platform.exe") {
        server.Serve(kVersionPath, firstLine + "\r\n24.12.2018\r\n" + Narrow(server.Origin()) + "/files/" +
                                       installerName + "\r\n");
        server.Serve(kNewsPath, "Version 6.1.1.5 is out.\nIt hides faster.\n");
    }

    std::unique_ptr<TUpdate_f> Open() {
        auto window = std::make_unique<TUpdate_f>(session, nullptr, messages, TUpdate_f::Callbacks{
            [this] { ++closedCalls; }, [this] { ++startedCalls; }});
        ShowWindow(window->Handle(), SW_SHOW);
        return window;
    }

    static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
    // As the mouse would: a label reports its click on the button press, a button on its release.
    static void Click(const TUpdate_f& window, int id) {
        const HWND control = window.Control(id);
        wchar_t className[16]{};
        GetClassNameW(control, className, 16);
        if (_wcsicmp(className, L"Static") != 0) {
            SendMessageW(control, BM_CLICK, 0, 0);
            return;
        }
        SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    static std::wstring Text(const TUpdate_f& window, int id) { return controls::Text(window.Control(id)); }
    static bool Enabled(const TUpdate_f& window, int id) { return IsWindowEnabled(window.Control(id)) != FALSE; }
    static bool Visible(const TUpdate_f& window, int id) { return IsWindowVisible(window.Control(id)) != FALSE; }
    static void Shot(const TUpdate_f& window, const char* name) {
        RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        CreateDirectoryW((hctest::BinFolder() + L"\\..\\shots").c_str(), nullptr);
        std::wstring file(name, name + strlen(name));
        hctest::SaveScreenshot(hctest::BinFolder() + L"\\..\\shots\\update-" + file + L".bmp");
    }
    void ExpectCheckFailed(const TUpdate_f& window) {
        EXPECT_TRUE(Visible(window, W::kIdCheckNowLabel));
        EXPECT_EQ(Text(window, W::kIdCheckNowLabel), L"FAILED... RETRY?");
        EXPECT_EQ(window.TextColour(W::kIdCheckNowLabel), RGB(0xFF, 0, 0));
        EXPECT_EQ(Text(window, W::kIdBtnCheckNow), L"Failed... Retry?");
        EXPECT_TRUE(Enabled(window, W::kIdBtnCheckNow));
        EXPECT_EQ(window.Hint(W::kIdBtnCheckNow),
                  L"Connection to the Quorvane server has failed... Do you want to retry now? (please make sure you "
                  L"are connected to the Internet!)");
        EXPECT_FALSE(Visible(window, W::kIdLatestVersionLabel1));
        EXPECT_FALSE(Enabled(window, W::kIdBtnDownload));
    }
    void ExpectDownloadFailed(const TUpdate_f& window) {
        EXPECT_EQ(Text(window, W::kIdBtnDownload), L"Failed... Retry?");
        EXPECT_EQ(Text(window, W::kIdDownloadInstallLabel2), L"Idle...");
        EXPECT_EQ(Text(window, W::kIdBtnClose), L"Close");
        EXPECT_FALSE(Enabled(window, W::kIdDownloadGroup));
        EXPECT_FALSE(Enabled(window, W::kIdProgressBar));
        EXPECT_EQ(window.Hint(W::kIdBtnDownload),
                  L"Quorvane server cannot be reached or takes too long to respond... Do you want to retry now? "
                  L"(please check the firewall settings and make sure you are connected to the Internet!)");
    }

    hctest::UpdateServer server;
    const TVersion running = RunningVersion();
    std::wstring folder;
    hctest::ScriptedVerifier verifier;
    hctest::RecordingStarter starter;
    hctest::RecordingMessages messages;
    UpdateSession session;
    int closedCalls = 0;
    int startedCalls = 0;
};

TEST_F(UpdateWindowTest, ANewerBuildIsShownRedAndBoldWithTheNewsAndOffersTheDownload) {
    ServeLatest("6.1.1.5");
    auto window = Open();
    SYSTEMTIME released{};
    released.wYear = 2017;
    released.wMonth = 8;
    released.wDay = 8;
    EXPECT_EQ(controls::Text(window->Handle()), L"Hushcloak Privacy - WebUpdate");
    EXPECT_EQ(Text(*window, W::kIdCurrentVersionLabel1), L"v6.1.1 (Build 4)");
    EXPECT_EQ(Text(*window, W::kIdCurrentVersionLabel2), L"- " + locale::ShortDate(released) + L" -");
    EXPECT_EQ(Text(*window, W::kIdCurrentGroup), L" Current version ");
    EXPECT_EQ(Text(*window, W::kIdLatestGroup), L" Latest version ");
    EXPECT_EQ(Text(*window, W::kIdNewsGroup), L" Latest news ");
    EXPECT_EQ(Text(*window, W::kIdDownloadGroup), L" Download && install ");
    EXPECT_EQ(Text(*window, W::kIdCheckNowLabel), L"CHECK NOW!");
    EXPECT_EQ(window->TextColour(W::kIdCheckNowLabel), RGB(0, 0x80, 0));
    EXPECT_TRUE(window->IsBold(W::kIdCheckNowLabel));
    EXPECT_EQ(Text(*window, W::kIdLatestNews),
              L" *** You'll have to check for updates in order to receive the latest news! ***");
    EXPECT_EQ(Text(*window, W::kIdDownloadInstallLabel1), L"0 %");
    EXPECT_EQ(Text(*window, W::kIdDownloadInstallLabel2), L"Idle...");
    EXPECT_EQ(Text(*window, W::kIdBtnCheckNow), L"Check for updates");
    EXPECT_EQ(Text(*window, W::kIdBtnDownload), L"Download updates");
    EXPECT_EQ(Text(*window, W::kIdBtnClose), L"Close");
    EXPECT_FALSE(Visible(*window, W::kIdLatestVersionLabel1));
    EXPECT_FALSE(Enabled(*window, W::kIdDownloadGroup));
    EXPECT_FALSE(Enabled(*window, W::kIdBtnDownload));  // nothing to download before a check
    Shot(*window, "idle");

    Click(*window, W::kIdBtnCheckNow);
    EXPECT_EQ(Text(*window, W::kIdBtnCheckNow), L"Check complete!");
    EXPECT_FALSE(Enabled(*window, W::kIdBtnCheckNow));
    EXPECT_FALSE(Visible(*window, W::kIdCheckNowLabel));
    EXPECT_TRUE(Visible(*window, W::kIdLatestVersionLabel1));
    EXPECT_EQ(Text(*window, W::kIdLatestVersionLabel1), L"v6.1.1 (Build 5)");
    released.wYear = 2018;
    released.wMonth = 12;
    released.wDay = 24;
    EXPECT_EQ(Text(*window, W::kIdLatestVersionLabel2), L"- " + locale::ShortDate(released) + L" -");
    EXPECT_EQ(window->TextColour(W::kIdLatestVersionLabel1), RGB(0xFF, 0, 0));
    EXPECT_TRUE(window->IsBold(W::kIdLatestVersionLabel1));
    EXPECT_TRUE(window->IsBold(W::kIdLatestVersionLabel2));
    EXPECT_TRUE(Enabled(*window, W::kIdBtnDownload));
    EXPECT_EQ(Text(*window, W::kIdLatestNews), L"Version 6.1.1.5 is out.\r\nIt hides faster.");
    DWORD selStart = 1, selEnd = 1;
    SendMessageW(window->Control(W::kIdLatestNews), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 0u);
    EXPECT_EQ(GetFocus(), window->Control(W::kIdLatestNews));
    EXPECT_FALSE(files::Exists(folder + L"\\versionchk.cfg"));
    EXPECT_FALSE(files::Exists(folder + L"\\news.cfg"));
    Shot(*window, "newer");
}

TEST_F(UpdateWindowTest, TheSameBuildIsShownPlainAndTheUserMayCheckAgain) {
    ServeLatest("7.0.0.4");
    auto window = Open();
    Click(*window, W::kIdBtnCheckNow);
    EXPECT_EQ(Text(*window, W::kIdBtnCheckNow), L"Check complete!");
    EXPECT_TRUE(Enabled(*window, W::kIdBtnCheckNow));
    EXPECT_EQ(Text(*window, W::kIdLatestVersionLabel1), L"v7.0.0 (Build 4)");
    EXPECT_NE(window->TextColour(W::kIdLatestVersionLabel1), RGB(0xFF, 0, 0));
    EXPECT_FALSE(window->IsBold(W::kIdLatestVersionLabel1));
    EXPECT_FALSE(Enabled(*window, W::kIdBtnDownload));
    Shot(*window, "same");
    ServeLatest("6.1.1.4294967296");
    Click(*window, W::kIdBtnCheckNow);
    EXPECT_EQ(Text(*window, W::kIdLatestVersionLabel1), L"v6.1.1 (Build 4294967296)");
    EXPECT_TRUE(Enabled(*window, W::kIdBtnDownload));
}

TEST_F(UpdateWindowTest, EveryFailedCheckEndsInTheFailedLookAndARetryWorks) {
    auto window = Open();
    // No version file: the server answers 404.
    Click(*window, W::kIdBtnCheckNow);
    ExpectCheckFailed(*window);
    Shot(*window, "check-failed");
    for (const char* firstLine : {"6.1.1", "6..1.1.x"}) {
        ServeLatest(firstLine);
        Click(*window, W::kIdCheckNowLabel);
        EXPECT_EQ(server.Requests(kVersionPath), firstLine[4] == '1' ? 2 : 3);
        ExpectCheckFailed(*window);
        EXPECT_EQ(session.Latest(), nullptr);
    }
    server.Serve(kVersionPath, "6.1.1.5\r\n31.2.2018\r\nhttp://x/setup.exe\r\n");
    Click(*window, W::kIdBtnCheckNow);
    ExpectCheckFailed(*window);
    ServeLatest("6.1.1.5");
    server.Serve(kNewsPath, "", 404);
    Click(*window, W::kIdBtnCheckNow);
    ExpectCheckFailed(*window);

    ServeLatest("6.1.1.5");
    Click(*window, W::kIdCheckNowLabel);
    EXPECT_EQ(Text(*window, W::kIdBtnCheckNow), L"Check complete!");
    EXPECT_TRUE(Enabled(*window, W::kIdBtnDownload));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UpdateWindowTest, AClosedPortFailsTheCheck) {
    const std::wstring closed = L"http://127.0.0.1:" + std::to_wstring(hctest::UpdateServer::ClosedPort());
    UpdateSession nowhere(running, ResolveUpdateAddresses(closed),
                          UpdatePaths{folder, folder + L"\\versionchk.cfg", folder + L"\\news.cfg"}, verifier, starter);
    TUpdate_f window(nowhere, nullptr, messages, {});
    ShowWindow(window.Handle(), SW_SHOW);
    Click(window, W::kIdBtnCheckNow);
    ExpectCheckFailed(window);
    EXPECT_EQ(nowhere.Latest(), nullptr);
}

TEST_F(UpdateWindowTest, AnUnsignedInstallerIsRefusedAndNeverStarted) {
    AuthenticodeVerifier authenticode;
    ShellInstallerStarter shellStarter;
    UpdateSession real(running, ResolveUpdateAddresses(server.Origin()),
                       UpdatePaths{folder, folder + L"\\versionchk.cfg", folder + L"\\news.cfg"}, authenticode,
                       shellStarter);
    ServeLatest("6.1.1.5", "hcunsigned_setup.exe");
    server.Serve("/files/hcunsigned_setup.exe", hctest::FileBytes(hctest::BinFolder() + L"\\winhelper.exe"));
    TUpdate_f window(real, nullptr, messages, {[this] { ++closedCalls; }, [this] { ++startedCalls; }});
    ShowWindow(window.Handle(), SW_SHOW);
    Click(window, W::kIdBtnCheckNow);
    Click(window, W::kIdBtnDownload);
    EXPECT_EQ(server.Requests("/files/hcunsigned_setup.exe"), 1);
    EXPECT_EQ(Text(window, W::kIdDownloadInstallLabel1), L"100 %");
    ExpectDownloadFailed(window);
    EXPECT_TRUE(Enabled(window, W::kIdBtnDownload));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, L"Error");
    EXPECT_EQ(messages.shown[0].text,
              L"The downloaded update could not be verified, so it was not installed. Please try again later.");
    EXPECT_EQ(startedCalls, 0);
    EXPECT_FALSE(files::Exists(folder + L"\\hcunsigned_setup.exe"));
    EXPECT_FALSE(hctest::WaitUntil([] { return hctest::ProcessNamedRuns(L"hcunsigned_setup.exe"); }, 1000));
    Shot(window, "refused");
}

TEST_F(UpdateWindowTest, AVerifiedInstallerStartsAndEndsTheProgram) {
    ServeLatest("6.1.1.5");
    hctest::UpdateServer::Response installer;
    installer.body.assign(300000, 'M');
    installer.chunkSize = 60000;
    server.Serve("/files/setup_x86.exe", installer);
    auto window = Open();
    Click(*window, W::kIdBtnCheckNow);
    Click(*window, W::kIdBtnDownload);
    EXPECT_EQ(Text(*window, W::kIdDownloadInstallLabel1), L"100 %");
    EXPECT_EQ(controls::ProgressPosition(window->Control(W::kIdProgressBar)), 0);
    EXPECT_EQ(Text(*window, W::kIdDownloadInstallLabel2), L"Installing in progress... Please wait!");
    EXPECT_EQ(Text(*window, W::kIdBtnDownload), L"Installing...");
    EXPECT_EQ(verifier.checked, folder + L"\\setup_x86.exe");
    EXPECT_EQ(starter.started, folder + L"\\setup_x86.exe");
    EXPECT_EQ(startedCalls, 1);
    Shot(*window, "installing");

    // An installer that does not start keeps the program running and says so.
    starter.succeeds = false;
    Click(*window, W::kIdBtnDownload);
    ExpectDownloadFailed(*window);
    EXPECT_EQ(startedCalls, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, L"The installer of the update could not be started.");
}

TEST_F(UpdateWindowTest, AnInstallerNameThatIsNotAPlainExeIsAFailedDownload) {
    for (const char* name : {"..\\evil.exe", "sub\\evil.exe", "C:evil.exe", "setup.exe.txt", ".exe"}) {
        ServeLatest("6.1.1.5", name);
        auto window = Open();
        Click(*window, W::kIdBtnCheckNow);
        ASSERT_TRUE(Enabled(*window, W::kIdBtnDownload)) << name;
        Click(*window, W::kIdBtnDownload);
        ExpectDownloadFailed(*window);
    }
    EXPECT_TRUE(starter.started.empty());
    EXPECT_TRUE(verifier.checked.empty());
    EXPECT_EQ(InstallerFileName(L"https://h/a/setup_x86.EXE"), L"setup_x86.EXE");
    EXPECT_EQ(InstallerFileName(L"file:///C:/setup.exe"), std::nullopt);
    EXPECT_EQ(InstallerFileName(L"http://h/"), std::nullopt);
}

TEST_F(UpdateWindowTest, ClosingDuringTheDownloadCancelsItAndLeavesNoPartialInstaller) {
    ServeLatest("6.1.1.5");
    hctest::UpdateServer::Response slow;
    slow.body.assign(2000000, 'M');
    slow.chunkSize = 8192;
    slow.pauseMs = 20;  // about five seconds in all
    server.Serve("/files/setup_x86.exe", slow);
    auto window = Open();
    Click(*window, W::kIdBtnCheckNow);

    hctest::PostedAction during;
    std::wstring state[4];
    during.Post([&] {
        state[0] = Text(*window, W::kIdDownloadInstallLabel2);
        state[1] = Text(*window, W::kIdBtnDownload);
        state[2] = Text(*window, W::kIdBtnClose);
        state[3] = Enabled(*window, W::kIdBtnDownload) ? L"enabled" : L"disabled";
        Shot(*window, "downloading");
        Click(*window, W::kIdBtnClose);
    });
    const DWORD start = GetTickCount();
    Click(*window, W::kIdBtnDownload);
    EXPECT_TRUE(during.HasRun());
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_EQ(state[0], L"Downloading installer... Please wait!");
    EXPECT_EQ(state[1], L"Downloading...");
    EXPECT_EQ(state[2], L"Cancel");
    EXPECT_EQ(state[3], L"disabled");
    EXPECT_TRUE(window->IsClosed());
    EXPECT_EQ(closedCalls, 1);
    EXPECT_FALSE(files::Exists(folder + L"\\setup_x86.exe"));
    EXPECT_TRUE(starter.started.empty());
}

TEST_F(UpdateWindowTest, AQuitDuringTheDownloadStopsItAndReachesTheMainLoop) {
    ServeLatest("6.1.1.5");
    hctest::UpdateServer::Response slow;
    slow.body.assign(2000000, 'M');
    slow.chunkSize = 8192;
    slow.pauseMs = 20;
    server.Serve("/files/setup_x86.exe", slow);
    UpdateCommand command(session, nullptr, messages, {[this] { ++closedCalls; }, [this] { ++startedCalls; }});
    hctest::PostedAction inside;
    hctest::PostedAction duringDownload;
    inside.Post([&] {
        Click(*command.Current(), W::kIdBtnCheckNow);
        duringDownload.Post([] { PostQuitMessage(3); });  // the program is asked to end
        Click(*command.Current(), W::kIdBtnDownload);
    });
    const DWORD start = GetTickCount();
    command.Checkforupdates1Click();
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_TRUE(duringDownload.HasRun());
    EXPECT_EQ(command.Current(), nullptr);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
    EXPECT_EQ(closedCalls, 0);  // the program ends: no main window to show
    EXPECT_EQ(startedCalls, 0);
    EXPECT_FALSE(files::Exists(folder + L"\\setup_x86.exe"));
}

TEST_F(UpdateWindowTest, TheCommandKeepsOneWindowAndASecondWindowUsesTheEarlierCheck) {
    ServeLatest("6.1.1.5");
    UpdateCommand command(session, nullptr, messages, {[this] { ++closedCalls; }, {}});
    hctest::PostedAction inside;
    HWND first = nullptr;
    inside.Post([&] {
        first = command.Current()->Handle();
        Click(*command.Current(), W::kIdBtnCheckNow);
        command.Checkforupdates1Click();  // the open window comes to the front; no second one
        EXPECT_EQ(command.Current()->Handle(), first);
        PostMessageW(first, WM_CLOSE, 0, 0);  // the title-bar close
    });
    command.Checkforupdates1Click();
    EXPECT_TRUE(inside.HasRun());
    EXPECT_EQ(command.Current(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(closedCalls, 1);

    inside.Post([&] {
        const TUpdate_f& second = *command.Current();
        EXPECT_FALSE(Visible(second, W::kIdLatestVersionLabel1));
        EXPECT_TRUE(Enabled(second, W::kIdBtnDownload));
        Click(second, W::kIdBtnClose);
    });
    command.Checkforupdates1Click();
    EXPECT_EQ(closedCalls, 2);
}

}  // namespace
}  // namespace hc
