#pragma once
#include <cstdint>
#include <string>

#include "HcUpdateServer.h"

namespace hc {

// Names and texts of the program that never change.
inline constexpr wchar_t kInstanceMutexName[] = L"HushCloak";
inline constexpr wchar_t kApplicationTitle[] = L"HushCloak Privacy 6.0";
inline constexpr wchar_t kMainWindowTitle[] = L"HushCloak Privacy 6.1";
inline constexpr wchar_t kProductName[] = L"Hushcloak Privacy 6.0";
inline constexpr wchar_t kSettingsKey[] = L"HushCloak";
// What must survive a crash: the journal of hidden windows, the record of a Task Manager policy we wrote.
inline constexpr wchar_t kRecoveryKey[] = L"HushCloak\\Recovery";
// Titles that hiding, restoring and closing treat specially; compared ignoring case.
inline constexpr wchar_t kHotkeyDialogTitle[] = L"Hushcloak Privacy 6.0";
inline constexpr wchar_t kDesktopTitle[] = L"Program Manager";
inline constexpr wchar_t kCacheManagerTitle[] = L"Cache Manager";

// The update service: the host and the folder come from CMakeLists.txt, which scripts/release.sh reads too.
inline constexpr wchar_t kUpdateServerName[] = HC_UPDATE_SERVER_NAME;
inline constexpr wchar_t kVersionFileUrl[] = HC_UPDATE_FOLDER_URL L"versionchk.cfg";
inline constexpr wchar_t kNewsFileUrl[] = HC_UPDATE_FOLDER_URL L"news.cfg";
inline constexpr unsigned kReachabilityTimeoutMs = 1000;

inline constexpr std::int64_t kLowMemoryLimit = 536870912;  // 512 MiB
inline constexpr int kDefaultCloseHideAction = 1;
inline constexpr int kDefaultTerminateCloseProcess = 1;
inline constexpr int kDefaultProcessPriority = 2;

// Paths fixed once at start-up.
struct Configuration {
    std::wstring programFile;
    std::wstring programManifest;
    std::wstring helpFile;
    std::wstring dataFolder;          // ends in "\HC\bin\"
    std::wstring tempDownloadFolder;  // ends in "\HC\bin\temp", no separator
    std::wstring optionsFile;
    std::wstring statisticsFile;
    std::wstring localVersionFile;
    std::wstring localNewsFile;
    std::wstring manifestsFolder;
    std::wstring xpManifest;
    std::wstring postXpManifest;
    int foldersCreated = 0;  // how many folders this start had to create
};

// Resolves every path against the common application data folder and the current directory,
// and creates the data folder and the download folder with their parents. Failures are not reported:
// downloads into a missing folder fail later, where the user sees them.
Configuration ConfigurationSetup(const std::wstring& commonAppDataFolder);

// The common application data folder, empty when the shell cannot tell.
std::wstring CommonAppDataFolder();

}  // namespace hc
