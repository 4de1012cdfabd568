#include <gtest/gtest.h>

#include "HotkeyDoubles.h"
#include "TestSupport.h"
#include "LocalHttpServer.h"
#include "UpdateSupport.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Trust.h"
#include "settings/Configuration.h"
#include "update/UpdateWindow.h"

namespace hc {
namespace {

constexpr wchar_t kChildVariable[] = L"HC_SIGNED_INSTALLER_CHILD";

std::wstring Signing(const wchar_t* name) { return hctest::BinFolder() + L"signing\\" + name; }

// The roots are trusted before the child starts: a process reads the root store once, when it first builds a
// chain. The stranger's root is trusted too, so only the pinned signer tells the two installers apart.
TEST(SignedInstaller, RunsOnlyOurSignerWhenItsRootIsTrustedAndNotOneByteChanged) {
    EXPECT_NE(trust::VerifyFileSignature(Signing(L"hcsigned_setup.exe")), 0) << "an untrusted root must not verify";
    EXPECT_NE(trust::VerifyFileSignature(Signing(L"hctampered_setup.exe")), 0);
    EXPECT_EQ(trust::VerifyFileSignature(hctest::BinFolder() + L"winhelper.exe"), LONG(TRUST_E_NOSIGNATURE));

    hctest::ScopedTrustedRoot root(Signing(L"test-root.der"));
    hctest::ScopedTrustedRoot strangerRoot(Signing(L"stranger-root.der"));
    hctest::ScopedTrustedRoot revokingRoot(Signing(L"revoked-root.der"));
    ASSERT_TRUE(root.IsTrusted());
    ASSERT_TRUE(strangerRoot.IsTrusted());
    ASSERT_TRUE(revokingRoot.IsTrusted());
    SetEnvironmentVariableW(kChildVariable, L"1");
    DWORD childId = 0;
    const HANDLE child = hctest::StartProcess(hctest::BinFolder() + L"integration_tests.exe",
                                              L"--gtest_filter=SignedInstallerChild.*", &childId);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    ASSERT_NE(child, nullptr);
    const bool ended = WaitForSingleObject(child, 60000) == WAIT_OBJECT_0;
    DWORD exitCode = 1;
    GetExitCodeProcess(child, &exitCode);
    if (!ended) TerminateProcess(child, 1);
    CloseHandle(child);
    EXPECT_TRUE(ended);
    EXPECT_EQ(exitCode, 0u) << "the child's own test failed; run it with "
                            << "HC_SIGNED_INSTALLER_CHILD=1";
}

TEST(SignedInstallerChild, TheWindowStartsOnlyOurSignedInstaller) {
    if (files::EnvironmentVariable(kChildVariable).empty()) GTEST_SKIP() << "runs in the child process only";
    // Both chains verify here; the signers differ. The third signer is on its root's revocation list.
    EXPECT_EQ(trust::VerifyFileSignature(Signing(L"hcstranger_setup.exe")), 0);
    EXPECT_EQ(trust::VerifyFileSignature(Signing(L"hcsigned_setup.exe")), 0);
    EXPECT_EQ(trust::VerifyFileSignature(Signing(L"hcrevoked_setup.exe")), LONG(CERT_E_REVOKED));
    hctest::LocalHttpServer server;
    const std::wstring wideOrigin = server.Origin();
    const std::string origin(wideOrigin.begin(), wideOrigin.end());
    server.Serve("/downloads/updates/hc/news.cfg", "Signed.\n");
    for (const wchar_t* name :
         {L"hcsigned_setup.exe", L"hctampered_setup.exe", L"hcstranger_setup.exe", L"hcrevoked_setup.exe"})
        server.Serve("/files/" + std::string(name, name + wcslen(name)), hctest::FileBytes(Signing(name)));
    const std::wstring folder = hctest::MakeTempFolder(L"hc_signed");
    const TVersion running = RunningVersion();
    AuthenticodeVerifier verifier;
    ShellInstallerStarter starter;
    hctest::RecordingMessages messages;
    UpdateSession session(running, ResolveUpdateAddresses(server.Origin()),
                          UpdatePaths{folder, folder + L"\\versionchk.cfg", folder + L"\\news.cfg"}, verifier, starter);
    int started = 0;
    TUpdate_f window(session, nullptr, messages, {{}, [&] { ++started; }});
    ShowWindow(window.Handle(), SW_SHOW);
    auto click = [&](int id) {
        SendMessageW(window.Control(id), BM_CLICK, 0, 0);
        EXPECT_TRUE(hctest::WaitUntil([&] { return !window.Workflow().Busy(); }, 20000));
    };
    const std::string kNotVerified =
        "The downloaded update could not be verified, so it was not installed. Please try again later.";

    size_t refusals = 0;
    for (const char* refused : {"hctampered_setup.exe", "hcstranger_setup.exe", "hcrevoked_setup.exe"}) {
        server.Serve("/downloads/updates/hc/versionchk.cfg",
                     "6.1.1.5\r\n1.1.2019\r\n" + origin + "/files/" + refused + "\r\n");
        click(TUpdate_f::kIdBtnCheckNow);
        click(TUpdate_f::kIdBtnDownload);
        EXPECT_EQ(started, 0) << refused;
        ASSERT_EQ(messages.shown.size(), ++refusals) << refused;
        EXPECT_EQ(messages.shown.back().text, std::wstring(kNotVerified.begin(), kNotVerified.end()));
        const std::wstring wide(refused, refused + strlen(refused));
        EXPECT_FALSE(files::Exists(folder + L"\\" + wide)) << refused;
        EXPECT_FALSE(hctest::ProcessNamedRuns(wide));
    }

    server.Serve("/downloads/updates/hc/versionchk.cfg",
                 "6.1.1.5\r\n1.1.2019\r\n" + origin + "/files/hcsigned_setup.exe\r\n");
    click(TUpdate_f::kIdBtnCheckNow);
    EXPECT_EQ(controls::Text(window.Control(TUpdate_f::kIdBtnCheckNow)), L"Check complete!");
    click(TUpdate_f::kIdBtnDownload);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(controls::Text(window.Control(TUpdate_f::kIdDownloadInstallLabel2)),
              L"Installing in progress... Please wait!");
    EXPECT_TRUE(hctest::WaitUntil([] { return hctest::ProcessNamedRuns(L"hcsigned_setup.exe"); }, 10000));
    EXPECT_EQ(messages.shown.size(), 3u);
    hctest::EndProcessesNamed(L"hcsigned_setup.exe");
}

}  // namespace
}  // namespace hc
