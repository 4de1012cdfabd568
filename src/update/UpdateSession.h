#pragma once
#include <windows.h>

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "update/UpdateAddresses.h"
#include "update/UpdateWorkflow.h"
#include "update/Version.h"

namespace hc {

// Decides whether a downloaded installer may run. file is the open handle that keeps the file from being
// changed; the check reads through it. Runs off the user-interface thread.
class SignatureVerifier {
public:
    virtual ~SignatureVerifier() = default;
    virtual bool Verifies(const std::wstring& path, HANDLE file) = 0;
};

// Starts a verified installer (while the caller still holds it locked). Runs off the user-interface thread.
class InstallerStarter {
public:
    virtual ~InstallerStarter() = default;
    virtual bool Start(const std::wstring& path) = 0;
};

// True only for the pinned signer: the SHA-256 of its public key, as the build recorded it. An empty pin (no
// signer recorded) matches nothing.
bool IsPinnedSigner(std::string_view signerKeySha256, std::string_view pinned);

// The real ones: Authenticode with the whole chain and its revocation, our own signer only, and a build newer
// than the running one.
class AuthenticodeVerifier final : public SignatureVerifier {
public:
    AuthenticodeVerifier();  // pins the signer this build recorded
    explicit AuthenticodeVerifier(std::string pinnedKeySha256) : pinned_(std::move(pinnedKeySha256)) {}
    bool Verifies(const std::wstring& path, HANDLE file) override;

private:
    std::string pinned_;
};
class ShellInstallerStarter final : public InstallerStarter {
public:
    bool Start(const std::wstring& path) override;
};

// True for an installer whose own file version is above the running build's: a signed older installer (a
// rollback to a build with known faults) is never run.
bool IsNewerInstaller(const std::optional<std::array<unsigned, 4>>& installerVersion, const TVersion& running);

struct UpdatePaths {
    std::wstring tempDownloadFolder;
    std::wstring localVersionFile;
    std::wstring localNewsFile;
};

// Every download goes into a folder only this user can write, under the local application data.
UpdatePaths PrivateUpdatePaths();

// The local name of an installer address: the text after its last "/", accepted only as a plain file name
// ending in ".exe". Anything else could write outside the download folder.
std::optional<std::wstring> InstallerFileName(const std::wstring& url);

// The update check of one program run: the latest record outlives the windows that show it. Check and Install
// block on the network and run on a worker thread; they read only what never changes after construction.
class UpdateSession {
public:
    UpdateSession(TVersion running, UpdateAddresses addresses, UpdatePaths paths, SignatureVerifier& verifier,
                  InstallerStarter& starter)
        : running_(std::move(running)),
          addresses_(std::move(addresses)),
          paths_(std::move(paths)),
          verifier_(verifier),
          starter_(starter) {}

    const TVersion& Running() const { return running_; }
    // The record of the last check that succeeded; null before one, and after a check that failed.
    const TVersion* Latest() const { return latest_ ? &*latest_ : nullptr; }
    bool LatestIsNewer() const { return latest_ && latest_->IsNewerVersion(running_); }

    struct CheckOutcome {
        std::optional<TVersion> latest;    // set only together with the news
        std::optional<std::wstring> news;  // CR LF line ends
    };
    // Asks the server for the version file and the news (worker thread).
    CheckOutcome Check(const std::atomic<bool>& cancel) const;
    // Takes a check's outcome as the latest record (user-interface thread).
    void Apply(CheckOutcome outcome) { latest_ = std::move(outcome.latest); }

    struct InstallRequest {
        std::wstring url;
        std::wstring path;  // empty when the address is not acceptable
    };
    // What the next install downloads; a null path for no newer build or an address that is refused.
    InstallRequest NextInstall() const;
    struct InstallProgress {
        std::function<void(int percent)> onPercent;
        std::function<void()> onVerifying;
    };
    // Downloads the installer, verifies it and starts it (worker thread). Nullopt when the download failed or
    // was cancelled; a file that does not verify is deleted, never started.
    std::optional<UpdateWorkflow::Outcome> Install(const InstallRequest& request, const InstallProgress& progress,
                                                   const std::atomic<bool>& cancel) const;
    // The reachability check: false when the server's name does not even resolve.
    bool ServerMayBeReachable() const;

private:
    // A copy: the record a caller passes is often a temporary, and the worker reads it long after.
    const TVersion running_;
    const UpdateAddresses addresses_;
    const UpdatePaths paths_;
    SignatureVerifier& verifier_;
    InstallerStarter& starter_;
    std::optional<TVersion> latest_;
};

}  // namespace hc
