#include <gtest/gtest.h>
#include <shlobj.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "HcProcess.h"
#include "TestSupport.h"
#include "password/PasswordHash.h"

namespace hctest {
namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\HushcloakPrivacy";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kPasswordKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\LogoAcc";
constexpr DWORD kSetupTimeoutMs = 60000;

std::wstring KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)) ? path : L"";
}
std::wstring InstallFolder() { return KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Hushcloak Privacy"; }
std::wstring InstalledExe() { return InstallFolder() + L"\\HC.exe"; }
std::wstring Shortcut() { return KnownFolder(CSIDL_PROGRAMS) + L"\\Hushcloak Privacy.lnk"; }
bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The one setup program that package.sh left in a folder under build/.
std::wstring SetupIn(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\HushcloakPrivacy-*-setup.exe").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return L"";
    FindClose(find);
    return folder + L"\\" + found.cFileName;
}
std::wstring SetupProgram() { return SetupIn(BinFolder() + L"..\\dist"); }

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}
std::optional<DWORD> ReadDword(HKEY root, const std::wstring& path, const wchar_t* name) {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}
void WriteString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(root, path.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A text of a file's version resource, from its first language block.
std::wstring VersionText(const std::wstring& file, const wchar_t* name) {
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (data.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()))
        return L"(no version resource)";
    WORD* language = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&language), &length) ||
        length < 4)
        return L"(no translation)";
    wchar_t query[128];
    swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", language[0], language[1], name);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&text), &length)) return L"(none)";
    return text;
}

// Runs a program to its end; its exit code, or -1 when it did not start or end in time.
int RunToEnd(const std::wstring& exe, const std::wstring& arguments, DWORD timeoutMs = kSetupTimeoutMs) {
    HANDLE process = StartProcess(exe, arguments);
    if (!process) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return static_cast<int>(code);
}

void RemoveInstallation() {
    std::error_code ignored;
    std::filesystem::remove_all(InstallFolder(), ignored);
    DeleteFileW(Shortcut().c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
}

// A visible dialog of the process that passes the test, waited for.
HWND WaitForDialogOf(DWORD processId, const std::function<bool(HWND)>& matches, DWORD timeoutMs = 15000) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : WindowsOf(processId, L"#32770"))
                if (IsWindowVisible(w) && matches(w)) return (found = w) != nullptr;
            return false;
        },
        timeoutMs, 50);
    return found;
}

void SaveShot(const wchar_t* name) {
    const std::wstring folder = BinFolder() + L"..\\shots";
    CreateDirectoryW(folder.c_str(), nullptr);
    SaveScreenshot(folder + L"\\" + name + L".bmp");
}

std::wstring ButtonText(HWND dialog, int id) {
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

// The stored password still opens with this text (the program replaces an old plain one by its hash).
bool StillUnlocks(const wchar_t* password) {
    return hc::PasswordMatches(
        ReadString(HKEY_CURRENT_USER, std::wstring(kPasswordKey) + L"\\HKAcc", L"Key").value_or(L""), password);
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(SetupProgram().empty()) << "no setup program in build/dist: scripts/package.sh makes it";
        RemoveInstallation();
        key_.SetString(L"StartUp", L"Tray", L"1");  // no splash: the test sees the program as soon as it runs
    }
    void TearDown() override {
        hc_.Stop();
        RemoveInstallation();
    }
    void Install() { ASSERT_EQ(RunToEnd(SetupProgram(), L"/S"), 0); }
    void StartInstalled() {
        ASSERT_TRUE(hc_.StartFrom(InstalledExe(), InstallFolder()));
        ASSERT_TRUE(hc_.WaitUntilStarted());
    }

    ScopedCleanKey key_;
    ScopedCleanKey password_{std::wstring(kPasswordKey)};
    HcProcess hc_;
    WindowHelper helper_;
};

TEST_F(InstallerTest, SilentSetupInstallsPerUserRegistersTheUninstallerAndTheProgramAnswersCtrlSpace) {
    Install();
    const std::wstring folder = InstallFolder();
    EXPECT_TRUE(Exists(folder + L"\\HC.exe"));
    EXPECT_TRUE(Exists(folder + L"\\LICENSE.txt"));
    EXPECT_TRUE(Exists(folder + L"\\Uninstall.exe"));
    if (Exists(BinFolder() + L"images\\Index.html")) {
        EXPECT_TRUE(Exists(folder + L"\\images\\Index.html"));
    }
    EXPECT_TRUE(Exists(Shortcut()));

    // One version everywhere: the built program, the installed one, the setup program and the Uninstall entry.
    const std::wstring version = VersionText(HcExePath(), L"ProductVersion");
    EXPECT_EQ(version, L"6.1.1.4");
    for (const std::wstring& file : {InstalledExe(), SetupProgram()}) {
        EXPECT_EQ(VersionText(file, L"ProductVersion"), version) << std::string(file.begin(), file.end());
        EXPECT_EQ(VersionText(file, L"ProductName"), L"Hushcloak Privacy");
        EXPECT_EQ(VersionText(file, L"CompanyName"), L"Hushcloak Privacy");
    }
    EXPECT_NE(SetupProgram().find(L"HushcloakPrivacy-" + version + L"-setup.exe"), std::wstring::npos);

    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName"), L"Hushcloak Privacy");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"DisplayVersion"), version);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"Publisher"), L"Hushcloak Privacy");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"DisplayIcon"), folder + L"\\HC.exe,0");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"UninstallString"), L"\"" + folder + L"\\Uninstall.exe\"");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"QuietUninstallString"),
              L"\"" + folder + L"\\Uninstall.exe\" /S");
    const auto sizeKb = ReadDword(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(sizeKb.has_value());
    EXPECT_GE(*sizeKb, std::filesystem::file_size(InstalledExe()) / 1024);

    HWND window = helper_.Open(L"Private letter");
    StartInstalled();
    PressKeys({VK_CONTROL}, VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window); }));
}

TEST_F(InstallerTest, SetupOverARunningProgramEndsItThroughItsExitShowsItsWindowsAndKeepsTheSettings) {
    Install();
    key_.SetString(L"StartUp", L"HkHide", L"Ctrl+Space");
    password_.SetString(L"HKAcc", L"Key", L"Mellon");
    HWND window = helper_.Open(L"Private letter");
    StartInstalled();
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));

    EXPECT_EQ(RunToEnd(SetupProgram(), L"/S"), 0);
    EXPECT_FALSE(hc_.IsRunning()) << "setup replaced the files while the program still ran";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window); }));
    EXPECT_TRUE(Exists(InstalledExe()));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, L"HushCloak\\StartUp", L"HkHide"), L"Ctrl+Space");
    EXPECT_TRUE(StillUnlocks(L"Mellon"));
}

TEST_F(InstallerTest, SetupStopsAndSaysSoWhenARunningProgramDoesNotClose) {
    // The instance mutex without the program's close window: a copy that cannot be asked to end.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"HushCloak");
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(RunToEnd(SetupProgram(), L"/S"), 2);
    EXPECT_FALSE(Exists(InstalledExe()));

    // The user's way: the question comes once the licence is accepted and Install is pressed.
    DWORD processId = 0;
    HANDLE setup = StartProcess(SetupProgram(), L"", &processId);
    ASSERT_NE(setup, nullptr);
    HWND page = WaitForDialogOf(processId, [](HWND w) { return GetDlgItem(w, IDOK) != nullptr; });
    ASSERT_NE(page, nullptr);
    ClickButton(page, IDOK);  // "I Agree"
    ASSERT_TRUE(WaitUntil([&] { return ButtonText(page, IDOK) == L"&Install"; }, 15000));
    ClickButton(page, IDOK);
    HWND box = WaitForDialogOf(processId, [](HWND w) { return !MessageBoxText(w).empty(); });
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              L"Hushcloak Privacy is still running and did not close. Close it from its tray icon, then run this "
              L"program again.");
    ClickButton(box, IDOK);
    EXPECT_EQ(WaitForSingleObject(setup, 15000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(setup, &code);
    EXPECT_EQ(code, 2u);
    CloseHandle(setup);
    CloseHandle(mutex);
    EXPECT_FALSE(Exists(InstalledExe()));
}

TEST_F(InstallerTest, SilentUninstallEndsTheProgramRemovesFilesShortcutAndOurEntriesAndKeepsTheSettings) {
    Install();
    key_.SetString(L"StartUp", L"HkHide", L"Ctrl+Space");
    password_.SetString(L"HKAcc", L"Key", L"Mellon");
    WriteString(HKEY_CURRENT_USER, kRunKey, L"HushCloak", L"\"" + InstalledExe() + L"\"");
    // Another copy's machine-wide autostart is not ours to remove.
    const std::wstring otherCopy = L"C:\\Tools\\Hushcloak\\HC.exe";
    WriteString(HKEY_LOCAL_MACHINE, kRunKey, L"HushCloak", otherCopy);
    HWND window = helper_.Open(L"Private letter");
    StartInstalled();
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));

    // The uninstaller runs on from a copy of itself in the temporary folder: wait for what it does.
    EXPECT_EQ(RunToEnd(InstallFolder() + L"\\Uninstall.exe", L"/S"), 0);
    EXPECT_TRUE(WaitUntil([&] { return !Exists(InstallFolder()) && !KeyExists(HKEY_CURRENT_USER, kUninstallKey); },
                          kSetupTimeoutMs, 100));
    EXPECT_TRUE(WaitUntil([&] { return !hc_.IsRunning(); }));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(Exists(Shortcut()));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, L"HushCloak"), std::nullopt);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"HushCloak"), otherCopy);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, L"HushCloak\\StartUp", L"HkHide"), L"Ctrl+Space");
    EXPECT_TRUE(StillUnlocks(L"Mellon"));
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"HushCloak");
}

// Setup pointed at a folder that already held the user's files: the uninstaller takes back only its own.
TEST_F(InstallerTest, UninstallRemovesOnlyTheFilesSetupWroteAndLeavesTheUsersFilesAndTheirFolders) {
    const std::wstring folder = MakeTempFolder(L"hc_tools");
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\images").c_str(), nullptr));
    for (const std::wstring& mine : {folder + L"\\notes.txt", folder + L"\\images\\holiday.jpg"}) {
        std::ofstream(std::filesystem::path(mine)) << "mine";
        ASSERT_TRUE(Exists(mine));
    }
    ASSERT_EQ(RunToEnd(SetupProgram(), L"/S /D=" + folder), 0);
    // Every page file the build has is installed, so none escapes the uninstaller's list by name.
    for (const auto& page : std::filesystem::directory_iterator(std::filesystem::path(BinFolder() + L"images")))
        EXPECT_TRUE(Exists(folder + L"\\images\\" + page.path().filename().wstring())) << page.path();
    ASSERT_TRUE(Exists(folder + L"\\Uninstall.exe"));

    EXPECT_EQ(RunToEnd(folder + L"\\Uninstall.exe", L"/S"), 0);
    // It runs on from a copy of itself: the Uninstall entry goes last.
    EXPECT_TRUE(WaitUntil([&] { return !KeyExists(HKEY_CURRENT_USER, kUninstallKey); }, kSetupTimeoutMs, 100));
    for (const wchar_t* name : {L"HC.exe", L"LICENSE.txt", L"Uninstall.exe", L"images\\Index.html"})
        EXPECT_FALSE(Exists(folder + L"\\" + name)) << name;
    EXPECT_TRUE(Exists(folder + L"\\notes.txt"));
    EXPECT_TRUE(Exists(folder + L"\\images\\holiday.jpg"));
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
}

TEST_F(InstallerTest, UninstallAsksAboutTheSettingsAndYesRemovesThemWithThePassword) {
    Install();
    key_.SetString(L"StartUp", L"HkHide", L"Ctrl+Space");
    password_.SetString(L"HKAcc", L"Key", L"Mellon");
    password_.SetString(L"HKAccHelp", L"Hint", L"Friend");
    DWORD processId = 0;
    // In place (_?=), so its windows belong to the process started here rather than to a copy in the temp folder.
    HANDLE uninstaller = StartProcess(InstallFolder() + L"\\Uninstall.exe", L"_?=" + InstallFolder(), &processId);
    ASSERT_NE(uninstaller, nullptr);
    HWND page = WaitForDialogOf(processId, [](HWND w) { return GetDlgItem(w, IDOK) != nullptr; });
    ASSERT_NE(page, nullptr);
    SaveShot(L"uninstall-1-confirm");
    ClickButton(page, IDOK);  // "Uninstall"
    HWND box = WaitForDialogOf(processId, [](HWND w) { return !MessageBoxText(w).empty(); });
    ASSERT_NE(box, nullptr);
    SaveShot(L"uninstall-2-question");
    EXPECT_EQ(MessageBoxText(box), L"Do you also want to remove your Hushcloak Privacy settings and password?");
    ClickButton(box, IDYES);
    // The last page's button becomes "Close" once the work is done.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(GetDlgItem(page, IDOK)); }, 15000, 50));
    ClickButton(page, IDOK);
    EXPECT_EQ(WaitForSingleObject(uninstaller, 15000), WAIT_OBJECT_0);
    CloseHandle(uninstaller);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"HushCloak"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(kPasswordKey) + L"\\HKAcc"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(kPasswordKey) + L"\\HKAccHelp"));
    EXPECT_FALSE(Exists(InstalledExe()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
}

// WinVerifyTrust as the update window asks it: the signature, the digest and, on Windows, a trusted root.
// Measured on Wine 8.0: it accepts an intact signature under a root nobody trusts (the signer's chain says
// CERT_E_UNTRUSTEDROOT, and a root added to the Root stores does not change that), so here only the signature
// and the digest are proven.
LONG VerifySignature(const std::wstring& file) {
    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof(fileInfo);
    fileInfo.pcwszFilePath = file.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return result;
}

// The throw-away root that scripts/test.sh signed a second package with, trusted for this test only (what Windows
// needs to accept the signature).
class TrustedTestRoot {
public:
    explicit TrustedTestRoot(const std::wstring& derFile) {
        std::ifstream in(std::filesystem::path(derFile), std::ios::binary);
        const std::vector<BYTE> der{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        store_ = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
        if (store_ && !der.empty())
            CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                             CERT_STORE_ADD_REPLACE_EXISTING, &added_);
    }
    ~TrustedTestRoot() {
        if (added_) CertDeleteCertificateFromStore(added_);  // frees the context too
        if (store_) CertCloseStore(store_, 0);
    }
    bool IsTrusted() const { return added_ != nullptr; }

private:
    HCERTSTORE store_ = nullptr;
    PCCERT_CONTEXT added_ = nullptr;
};

TEST(SignatureTest, ATestSignedPackageVerifiesAndAnUnsignedOneDoesNot) {
    const std::wstring signing = BinFolder() + L"..\\test-signing";
    const std::wstring signedSetup = SetupIn(signing + L"\\dist");
    ASSERT_FALSE(signedSetup.empty()) << "scripts/test.sh builds a test-signed package into build/test-signing";
    EXPECT_EQ(VerifySignature(SetupProgram()), TRUST_E_NOSIGNATURE);
    EXPECT_EQ(VerifySignature(HcExePath()), TRUST_E_NOSIGNATURE);

    TrustedTestRoot root(signing + L"\\root.cer");
    ASSERT_TRUE(root.IsTrusted());
    EXPECT_EQ(VerifySignature(signedSetup), ERROR_SUCCESS);
    // What the signed package installs is signed too: the program and the uninstaller it wrote.
    const std::wstring folder = MakeTempFolder(L"hc_signed");
    ASSERT_EQ(RunToEnd(signedSetup, L"/S /D=" + folder), 0);
    EXPECT_EQ(VerifySignature(folder + L"\\HC.exe"), ERROR_SUCCESS);
    EXPECT_EQ(VerifySignature(folder + L"\\Uninstall.exe"), ERROR_SUCCESS);
    RemoveInstallation();
    // A signed file changed afterwards no longer verifies.
    const std::wstring tampered = MakeTempFolder(L"hc_sign") + L"\\tampered-setup.exe";
    ASSERT_TRUE(CopyFileW(signedSetup.c_str(), tampered.c_str(), FALSE));
    {
        std::fstream file(std::filesystem::path(tampered), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(0x200);
        file.put('\x5A');
    }
    EXPECT_NE(VerifySignature(tampered), ERROR_SUCCESS);
}

}  // namespace
}  // namespace hctest
