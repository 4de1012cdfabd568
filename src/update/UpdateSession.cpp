#include "update/UpdateSession.h"

#include "HcSigner.h"
#include "platform/Files.h"
#include "platform/PrivateFolder.h"
#include "platform/Shell.h"
#include "platform/Trust.h"
#include "settings/Configuration.h"
#include "update/InternetUtils.h"

namespace hc {

bool IsPinnedSigner(std::string_view signerKeySha256, std::string_view pinned) {
    return !pinned.empty() && signerKeySha256 == pinned;
}

AuthenticodeVerifier::AuthenticodeVerifier() : pinned_(HC_SIGNER_KEY_SHA256) {}

bool AuthenticodeVerifier::Verifies(const std::wstring& path, HANDLE file) {
    const trust::SignatureCheck check = trust::CheckFileSignature(path, file);
    // An older build's installer, signed as it is, would undo the fixes since: refused like an unsigned one.
    return check.result == 0 && IsPinnedSigner(check.signerKeySha256, pinned_) &&
           IsNewerInstaller(files::FileVersion(path), RunningVersion());
}

bool ShellInstallerStarter::Start(const std::wstring& path) { return shell::OpenWithDefaultAction(path).has_value(); }

bool IsNewerInstaller(const std::optional<std::array<unsigned, 4>>& installerVersion, const TVersion& running) {
    if (!installerVersion) return false;
    const std::array<long long, 4> installer{(*installerVersion)[0], (*installerVersion)[1], (*installerVersion)[2],
                                             (*installerVersion)[3]};
    const std::array<long long, 4> current{running.GetMajorVersion(), running.GetMinorVersion(), running.GetRelease(),
                                           running.GetBuild()};
    return installer > current;
}

UpdatePaths PrivateUpdatePaths() {
    const std::wstring local = files::LocalAppDataFolder();
    // Without the folder of local data there is no private place: an empty folder makes every download fail.
    const std::wstring folder = local.empty() ? std::wstring() : local + L"\\HC\\update";
    return UpdatePaths{folder, folder + L"\\versionchk.cfg", folder + L"\\news.cfg"};
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

namespace {
// Makes the private folder on every use: it may have been removed since the last one. An installer left from
// an earlier download (it was running then) goes now.
bool PrivateFolderReady(const UpdatePaths& paths) {
    if (paths.tempDownloadFolder.empty() || !files::MakePrivateFolder(paths.tempDownloadFolder)) return false;
    // One still running (an installer that has not ended yet) cannot be deleted and is left for the next time.
    for (const std::wstring& path : files::FolderEntries(paths.tempDownloadFolder).value_or(std::vector<std::wstring>{})) {
        std::wstring lower = path;
        for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
        if (lower.ends_with(L".exe")) files::Delete(path);
    }
    return true;
}
}  // namespace

UpdateSession::CheckOutcome UpdateSession::Check(const std::atomic<bool>& cancel) const {
    CheckOutcome outcome;
    if (!PrivateFolderReady(paths_) ||
        !hc::ServerMayBeReachable(PingHost(addresses_.serverName, kReachabilityTimeoutMs)))
        return outcome;
    TVersion latest;
    try {
        if (latest.GetLatestVersion(running_, addresses_.versionFileUrl, paths_.localVersionFile, &cancel) != 0 ||
            DownloadFile(addresses_.newsFileUrl, paths_.localNewsFile, kMaxNewsFileBytes, &cancel) != 0)
            return outcome;
    } catch (const VersionFileError&) {
        return outcome;  // a version file that does not parse is a failed check like any other; the window says so
    }
    // Read only after a download that was capped, from a folder nobody else can write.
    if (const auto lines = files::ReadLines(paths_.localNewsFile)) {
        std::wstring news;
        for (size_t i = 0; i < lines->size(); ++i) news += (i ? L"\r\n" : L"") + (*lines)[i];
        outcome.news = std::move(news);
        outcome.latest = std::move(latest);
    }
    files::Delete(paths_.localNewsFile);
    return outcome;
}

UpdateSession::InstallRequest UpdateSession::NextInstall() const {
    InstallRequest request;
    if (!LatestIsNewer()) return request;
    request.url = latest_->GetUpdateInstallerURL();
    const auto name = InstallerFileName(request.url);
    if (name && IsAllowedDownloadUrl(request.url, addresses_) && !paths_.tempDownloadFolder.empty())
        request.path = paths_.tempDownloadFolder + L"\\" + *name;
    return request;
}

bool UpdateSession::ServerMayBeReachable() const {
    return hc::ServerMayBeReachable(PingHost(addresses_.serverName, kReachabilityTimeoutMs));
}

std::optional<UpdateWorkflow::Outcome> UpdateSession::Install(const InstallRequest& request,
                                                              const InstallProgress& progress,
                                                              const std::atomic<bool>& cancel) const {
    if (request.path.empty() || !PrivateFolderReady(paths_) || !ServerMayBeReachable()) return std::nullopt;
    if (DownloadFileWithProgress(request.url, request.path, DownloadTargets{progress.onPercent, &cancel, -1},
                                 kMaxInstallerBytes) != 0)
        return std::nullopt;
    if (cancel) {
        files::Delete(request.path);
        return std::nullopt;
    }
    if (progress.onVerifying) progress.onVerifying();
    // Held against writers, renames and deletes from the check until the start: the file that runs is the file
    // that was verified.
    files::WriteLockedFile locked(request.path);
    if (!locked.IsHeld() || !verifier_.Verifies(request.path, locked.Handle())) {
        locked.Release();
        files::Delete(request.path);
        return UpdateWorkflow::Outcome::NotVerified;
    }
    // Closed during the check: nothing starts.
    if (cancel) {
        locked.Release();
        files::Delete(request.path);
        return std::nullopt;
    }
    if (starter_.Start(request.path)) return UpdateWorkflow::Outcome::Started;
    locked.Release();
    files::Delete(request.path);
    return UpdateWorkflow::Outcome::NotStarted;
}

}  // namespace hc
