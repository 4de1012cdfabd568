#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <iostream>

#include "HotkeyDoubles.h"
#include "TestSupport.h"
#include "LocalHttpServer.h"
#include "UpdateSupport.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Locale.h"
#include "platform/PrivateFolder.h"
#include "settings/Configuration.h"
#include "update/UpdateCommand.h"

namespace hc {
namespace {

using W = TUpdate_f;

// Wine hands painted pixels to the X server a moment later: a push button is on the screen once its area is not
// one colour.
bool ButtonsOnScreen(HWND window) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    HDC screen = GetDC(nullptr);
    bool all = true;
    for (HWND child = GetWindow(window, GW_CHILD); child && all; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16]{};
        GetClassNameW(child, cls, 16);
        const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        if (_wcsicmp(cls, L"Button") != 0 || type == BS_GROUPBOX || !IsWindowVisible(child)) continue;
        RECT r{};
        GetWindowRect(child, &r);
        const COLORREF first = GetPixel(screen, r.left + 1, r.top + 1);
        bool varied = false;
        for (int y = r.top; y < r.bottom && !varied; y += 2)
            for (int x = r.left; x < r.right && !varied; x += 2) varied = GetPixel(screen, x, y) != first;
        all = varied;
    }
    ReleaseDC(nullptr, screen);
    return all;
}
constexpr char kVersionPath[] = "/downloads/updates/hc/versionchk.cfg";
constexpr char kNewsPath[] = "/downloads/updates/hc/news.cfg";

class UpdateWindowTest : public ::testing::Test {
protected:
    UpdateWindowTest()
        : folder(hctest::MakeTempFolder(L"hc_update")),
          session(running, ResolveUpdateAddresses(server.Origin()),
                  UpdatePaths{folder, folder + L"\\versionchk.cfg", folder + L"\\news.cfg"}, verifier, starter) {}

    void ServeLatest(const std::string& firstLine, const std::string& installerName = "setup_Flag_Platform.exe") {
        server.Serve(kVersionPath,
                     firstLine + "\r\n24.12.2018\r\n" + Narrow(server.Origin()) + "/files/" + installerName + "\r\n");
        server.Serve(kNewsPath, "Version 6.1.1.5 is out.\nIt hides faster.\n");
    }

    std::unique_ptr<TUpdate_f> Open() {
        auto window = std::make_unique<TUpdate_f>(
            session, nullptr, messages, TUpdate_f::Callbacks{[this] { ++closedCalls; }, [this] { ++startedCalls; }});
        ShowWindow(window->Handle(), SW_SHOW);
        return window;
    }

    static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
    // As the mouse would: a label reports its click on the button press, a button on its release. The check and
    // the download run on a worker thread: the click returns at once, and Click waits for the work to end.
    static void Click(const TUpdate_f& window, int id) {
        Press(window, id);
        EXPECT_TRUE(hctest::WaitUntil([&] { return !window.Workflow().Busy(); }, 20000));
    }
    static void Press(const TUpdate_f& window, int id) {
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
        hctest::WaitUntil([&] { return ButtonsOnScreen(window.Handle()); }, 2000);
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
    // A failed download names its address; a refused installer is said in a message instead.
    void ExpectDownloadFailed(const TUpdate_f& window, const std::wstring& label) {
        EXPECT_EQ(Text(window, W::kIdBtnDownload), L"Failed... Retry?");
        EXPECT_EQ(Text(window, W::kIdDownloadInstallLabel2), label);
        EXPECT_EQ(Text(window, W::kIdBtnClose), L"Close");
        EXPECT_FALSE(Enabled(window, W::kIdDownloadGroup));
        EXPECT_FALSE(Enabled(window, W::kIdProgressBar));
        EXPECT_EQ(window.Hint(W::kIdBtnDownload),
                  L"Quorvane server cannot be reached or takes too long to respond... Do you want to retry now? "
                  L"(please check the firewall settings and make sure you are connected to the Internet!)");
    }

    hctest::LocalHttpServer server;
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
    const std::wstring closed = L"http://127.0.0.1:" + std::to_wstring(hctest::LocalHttpServer::ClosedPort());
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
    ExpectDownloadFailed(window, L"Idle...");
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
    hctest::LocalHttpServer::Response installer;
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
    window = Open();
    Click(*window, W::kIdBtnDownload);
    ExpectDownloadFailed(*window, L"Idle...");
    EXPECT_EQ(startedCalls, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, L"The installer of the update could not be started.");
}

// What another account (or a program of this user) could try between the check and the start.
std::vector<std::string> ChangesThatSucceed(const std::wstring& path) {
    std::vector<std::string> succeeded;
    const HANDLE writer =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    if (writer != INVALID_HANDLE_VALUE) {
        succeeded.push_back("write");
        CloseHandle(writer);
    }
    if (MoveFileW(path.c_str(), (path + L".moved").c_str())) succeeded.push_back("rename");
    if (DeleteFileW(path.c_str())) succeeded.push_back("delete");
    return succeeded;
}

TEST_F(UpdateWindowTest, TheInstallerIsHeldAgainstChangeFromItsCheckToItsStartInAFolderOfThisUserOnly) {
    ServeLatest("6.1.1.5");
    server.Serve("/files/setup_x86.exe", std::string(5000, 'M'));
    std::vector<std::string> duringCheck{"not run"}, duringStart{"not run"};
    bool sameFile = false;
    verifier.during = [&](const std::wstring& path, HANDLE file) {
        duringCheck = ChangesThatSucceed(path);
        BY_HANDLE_FILE_INFORMATION held{}, named{};
        const HANDLE reader =
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        sameFile = reader != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &held) &&
                   GetFileInformationByHandle(reader, &named) && held.nFileIndexLow == named.nFileIndexLow &&
                   held.nFileIndexHigh == named.nFileIndexHigh && held.nFileSizeLow == 5000;
        if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
    };
    starter.during = [&](const std::wstring& path) { duringStart = ChangesThatSucceed(path); };
    auto window = Open();
    Click(*window, W::kIdBtnCheckNow);
    Click(*window, W::kIdBtnDownload);
    EXPECT_EQ(startedCalls, 1);
    EXPECT_TRUE(sameFile) << "the check reads the handle of the file that is started";
    EXPECT_EQ(duringCheck, std::vector<std::string>{});
    EXPECT_EQ(duringStart, std::vector<std::string>{});

    // The program's own folder: under the local application data, and only this user has any access to it.
    const UpdatePaths paths = PrivateUpdatePaths();
    ASSERT_FALSE(paths.tempDownloadFolder.empty());
    EXPECT_EQ(paths.tempDownloadFolder.rfind(files::LocalAppDataFolder() + L"\\", 0), 0u);
    EXPECT_EQ(paths.tempDownloadFolder.find(L"ProgramData"), std::wstring::npos);
    ASSERT_TRUE(files::MakePrivateFolder(paths.tempDownloadFolder));
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(paths.tempDownloadFolder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &acl, nullptr, &descriptor),
              DWORD(ERROR_SUCCESS));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    if (!(control & SE_DACL_PROTECTED)) {
        // Wine keeps access lists only where the file system stores extended attributes; Windows always does.
        std::cout << "note: this file system keeps no access list; the folder's rights are not checked\n";
        LocalFree(descriptor);
        return;
    }
    ASSERT_NE(acl, nullptr);
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    BYTE userBuffer[256]{};
    DWORD size = sizeof(userBuffer);
    GetTokenInformation(token, TokenUser, userBuffer, size, &size);
    CloseHandle(token);
    const PSID user = reinterpret_cast<TOKEN_USER*>(userBuffer)->User.Sid;
    EXPECT_EQ(acl->AceCount, 1u);
    for (WORD i = 0; i < acl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(acl, i, reinterpret_cast<void**>(&ace)));
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_TRUE(EqualSid(reinterpret_cast<PSID>(&ace->SidStart), user));
    }
    LocalFree(descriptor);
}

TEST_F(UpdateWindowTest, AnInstallerNameThatIsNotAPlainExeIsAFailedDownload) {
    for (const char* name : {"..\\evil.exe", "sub\\evil.exe", "C:evil.exe", "setup.exe.txt", ".exe"}) {
        ServeLatest("6.1.1.5", name);
        auto window = Open();
        Click(*window, W::kIdBtnCheckNow);
        ASSERT_TRUE(Enabled(*window, W::kIdBtnDownload)) << name;
        Click(*window, W::kIdBtnDownload);
        ExpectDownloadFailed(*window, L"Error downloading URL: " + server.Origin() + L"/files/" +
                                          std::wstring(name, name + strlen(name)));
    }
    EXPECT_TRUE(starter.started.empty());
    EXPECT_TRUE(verifier.checked.empty());
    EXPECT_EQ(InstallerFileName(L"https://h/a/setup_x86.EXE"), L"setup_x86.EXE");
    EXPECT_EQ(InstallerFileName(L"file:///C:/setup.exe"), std::nullopt);
    EXPECT_EQ(InstallerFileName(L"http://h/"), std::nullopt);
}

TEST_F(UpdateWindowTest, ClosingDuringTheDownloadCancelsItAndLeavesNoPartialInstaller) {
    ServeLatest("6.1.1.5");
    hctest::LocalHttpServer::Response slow;
    slow.body.assign(2000000, 'M');
    slow.chunkSize = 8192;
    slow.pauseMs = 20;  // about five seconds in all
    server.Serve("/files/setup_x86.exe", slow);
    auto window = Open();
    Click(*window, W::kIdBtnCheckNow);

    const DWORD start = GetTickCount();
    Press(*window, W::kIdBtnDownload);
    ASSERT_TRUE(hctest::WaitUntil([&] { return Text(*window, W::kIdDownloadInstallLabel1) != L"0 %"; }));
    EXPECT_EQ(Text(*window, W::kIdDownloadInstallLabel2), L"Downloading installer... Please wait!");
    EXPECT_EQ(Text(*window, W::kIdBtnDownload), L"Downloading...");
    EXPECT_EQ(Text(*window, W::kIdBtnClose), L"Cancel");
    EXPECT_FALSE(Enabled(*window, W::kIdBtnDownload));
    EXPECT_FALSE(Enabled(*window, W::kIdBtnCheckNow));
    Shot(*window, "downloading");
    Press(*window, W::kIdBtnClose);
    EXPECT_TRUE(hctest::WaitUntil([&] { return window->IsClosed(); }));
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_EQ(closedCalls, 1);
    EXPECT_FALSE(files::Exists(folder + L"\\setup_x86.exe"));
    EXPECT_TRUE(starter.started.empty());
}

TEST_F(UpdateWindowTest, AQuitDuringTheDownloadStopsItAndReachesTheMainLoop) {
    ServeLatest("6.1.1.5");
    hctest::LocalHttpServer::Response slow;
    slow.body.assign(2000000, 'M');
    slow.chunkSize = 8192;
    slow.pauseMs = 20;
    server.Serve("/files/setup_x86.exe", slow);
    UpdateCommand command(session, nullptr, messages, {[this] { ++closedCalls; }, [this] { ++startedCalls; }});
    hctest::PostedAction inside;
    bool downloading = false;
    inside.Post([&] {
        Click(*command.Current(), W::kIdBtnCheckNow);
        Press(*command.Current(), W::kIdBtnDownload);
        downloading =
            hctest::WaitUntil([&] { return Text(*command.Current(), W::kIdDownloadInstallLabel1) != L"0 %"; });
        PostQuitMessage(3);  // the program is asked to end
    });
    const DWORD start = GetTickCount();
    command.Checkforupdates1Click();
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_TRUE(downloading);
    EXPECT_EQ(command.Current(), nullptr);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
    EXPECT_EQ(closedCalls, 0);  // the program ends: no main window to show
    EXPECT_EQ(startedCalls, 0);
    EXPECT_FALSE(files::Exists(folder + L"\\setup_x86.exe"));
}

TEST_F(UpdateWindowTest, TheWindowAnswersWhileTheServerIsSilentAndCloseWaitsForTheCheck) {
    hctest::LocalHttpServer::Response held;
    held.body = "6.1.1.5\r\n24.12.2018\r\nhttps://h/setup.exe\r\n";
    held.held = true;
    server.Serve(kVersionPath, held);
    auto window = Open();
    const DWORD start = GetTickCount();
    Press(*window, W::kIdBtnCheckNow);
    EXPECT_LT(GetTickCount() - start, 1000u);
    ASSERT_TRUE(hctest::WaitUntil([&] { return server.Requests(kVersionPath) == 1; }));
    EXPECT_EQ(window->Workflow().Current(), UpdateWorkflow::State::Checking);
    EXPECT_EQ(Text(*window, W::kIdBtnCheckNow), L"Please wait...");
    EXPECT_FALSE(Enabled(*window, W::kIdBtnCheckNow));
    // The thread still handles its messages: a window made now answers at once.
    EXPECT_EQ(SendMessageW(window->Handle(), WM_GETTEXTLENGTH, 0, 0), LRESULT(wcslen(W::kCaption)));
    Press(*window, W::kIdBtnClose);
    EXPECT_FALSE(window->IsClosed());
    server.Release();
    EXPECT_TRUE(hctest::WaitUntil([&] { return window->IsClosed(); }));
    EXPECT_EQ(closedCalls, 1);
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
