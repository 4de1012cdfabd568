#include "update/UpdateSession.h"

#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/Trust.h"
#include "settings/Configuration.h"
#include "update/InternetUtils.h"

namespace hc {

bool AuthenticodeVerifier::Verifies(const std::wstring& path) { return trust::VerifyFileSignature(path) == 0; }

bool ShellInstallerStarter::Start(HWND, const std::wstring& path) {
    return shell::OpenWithDefaultAction(path).has_value();
}

std::optional<std::wstring> InstallerFileName(const std::wstring& url) {
    if (!url.starts_with(L"http://") && !url.starts_with(L"https://")) return std::nullopt;
    const std::wstring name = url.substr(url.find_last_of(L'/') + 1);
    constexpr std::wstring_view kExtension = L".exe";
    if (name.size() <= kExtension.size()) return std::nullopt;
    std::wstring lower = name;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    if (!lower.ends_with(kExtension)) return std::nullopt;
    if (name.front() == L'.' || name.front() == L' ') return std::nullopt;
    for (wchar_t c : name)
        if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|%").find(c) != std::wstring_view::npos) return std::nullopt;
    return name;
}

std::optional<std::wstring> UpdateSession::Check() {
    latest_.emplace();
    std::optional<std::wstring> news;
    if (hc::ServerMayBeReachable(PingHost(addresses_.serverName, kReachabilityTimeoutMs))) {
        try {
            if (latest_->GetLatestVersion(running_, addresses_.versionFileUrl, paths_.localVersionFile) == 0 &&
                DownloadFile(addresses_.newsFileUrl, paths_.localNewsFile) == 0) {
                if (const auto lines = files::ReadLines(paths_.localNewsFile)) {
                    news.emplace();
                    for (size_t i = 0; i < lines->size(); ++i) *news += (i ? L"\r\n" : L"") + (*lines)[i];
                }
                files::Delete(paths_.localNewsFile);
            }
        } catch (const VersionFileError&) {
            // A version file that does not parse is a failed check like any other; the window says so.
        }
    }
    // A half-read record must never lead to a download.
    if (!news) latest_.reset();
    return news;
}

std::optional<std::wstring> UpdateSession::InstallerPath() const {
    if (!LatestIsNewer()) return std::nullopt;
    const auto name = InstallerFileName(latest_->GetUpdateInstallerURL());
    if (!name) return std::nullopt;
    return paths_.tempDownloadFolder + L"\\" + *name;
}

bool UpdateSession::ServerMayBeReachable() const {
    return hc::ServerMayBeReachable(PingHost(addresses_.serverName, kReachabilityTimeoutMs));
}

UpdateSession::StartResult UpdateSession::VerifyAndStart(HWND owner, const std::wstring& path) {
    // Held open against writers and deleters from the check until the start, so the file that runs is the
    // file that was verified (the download folder is shared by every user of the machine).
    files::Lock lock(path);
    if (!lock.IsHeld() || !verifier_.Verifies(path)) {
        lock.Release();
        files::Delete(path);
        return StartResult::NotVerified;
    }
    return starter_.Start(owner, path) ? StartResult::Started : StartResult::NotStarted;
}

}  // namespace hc
