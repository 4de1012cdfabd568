#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "update/UpdateAddresses.h"
#include "update/Version.h"

namespace hc {

// Decides whether a downloaded installer may run.
class SignatureVerifier {
public:
    virtual ~SignatureVerifier() = default;
    virtual bool Verifies(const std::wstring& path) = 0;
};

// Starts a verified installer.
class InstallerStarter {
public:
    virtual ~InstallerStarter() = default;
    virtual bool Start(HWND owner, const std::wstring& path) = 0;
};

// The real ones: Authenticode with the whole chain, and the shell's open action.
class AuthenticodeVerifier final : public SignatureVerifier {
public:
    bool Verifies(const std::wstring& path) override;
};
class ShellInstallerStarter final : public InstallerStarter {
public:
    bool Start(HWND owner, const std::wstring& path) override;
};

struct UpdatePaths {
    std::wstring tempDownloadFolder;
    std::wstring localVersionFile;
    std::wstring localNewsFile;
};

// The local name of an installer address: the text after its last "/", accepted only as a plain file name
// ending in ".exe" of an http or https address. Anything else could write outside the download folder.
std::optional<std::wstring> InstallerFileName(const std::wstring& url);

// The update check of one program run: the latest record outlives the windows that show it.
class UpdateSession {
public:
    UpdateSession(const TVersion& running, UpdateAddresses addresses, UpdatePaths paths, SignatureVerifier& verifier,
                  InstallerStarter& starter)
        : running_(running),
          addresses_(std::move(addresses)),
          paths_(std::move(paths)),
          verifier_(verifier),
          starter_(starter) {}

    const TVersion& Running() const { return running_; }
    // The record of the last check that succeeded; null before one, and after a check that failed.
    const TVersion* Latest() const { return latest_ ? &*latest_ : nullptr; }
    bool LatestIsNewer() const { return latest_ && latest_->IsNewerVersion(running_); }

    // Asks the server for the version file and the news: the news text on success (CR LF line ends).
    std::optional<std::wstring> Check();

    // Where the installer of a newer build goes; nullopt without one or when its name is not acceptable.
    std::optional<std::wstring> InstallerPath() const;
    // False when the server's name does not even resolve; a silent echo is still worth a download.
    bool ServerMayBeReachable() const;
    // Verifies and starts a downloaded installer; a file that does not verify is deleted, never started.
    enum class StartResult { Started, NotVerified, NotStarted };
    StartResult VerifyAndStart(HWND owner, const std::wstring& path);

private:
    const TVersion& running_;
    UpdateAddresses addresses_;
    UpdatePaths paths_;
    SignatureVerifier& verifier_;
    InstallerStarter& starter_;
    std::optional<TVersion> latest_;
};

}  // namespace hc
