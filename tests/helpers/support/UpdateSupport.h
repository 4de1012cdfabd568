#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "update/UpdateSession.h"

namespace hctest {

// Runs an action from inside whatever message loop picks up its posted message next (for example the pump of a
// download in progress).
class PostedAction {
public:
    PostedAction();
    ~PostedAction();
    PostedAction(const PostedAction&) = delete;
    PostedAction& operator=(const PostedAction&) = delete;
    void Post(std::function<void()> action);
    bool HasRun() const { return ran_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    HWND window_ = nullptr;
    std::function<void()> action_;
    bool ran_ = false;
};

// True while a process with this executable name (no folder) runs.
bool ProcessNamedRuns(const std::wstring& exeName);

// Ends every process with this executable name (installers a test caused to start).
void EndProcessesNamed(const std::wstring& exeName);

// Trusts a DER root certificate in the current user's root store while the object lives.
class ScopedTrustedRoot {
public:
    explicit ScopedTrustedRoot(const std::wstring& derPath);
    ~ScopedTrustedRoot();
    ScopedTrustedRoot(const ScopedTrustedRoot&) = delete;
    ScopedTrustedRoot& operator=(const ScopedTrustedRoot&) = delete;
    bool IsTrusted() const { return trusted_; }

private:
    std::string der_;
    bool trusted_ = false;
};

// Test doubles of the installer's gatekeepers. They run on the update's worker thread; `during` runs inside
// the call, while the file is held.
class ScriptedVerifier : public hc::SignatureVerifier {
public:
    bool Verifies(const std::wstring& path, HANDLE file) override {
        checked = path;
        if (during) during(path, file);
        return verdict;
    }
    bool verdict = true;
    std::wstring checked;
    std::function<void(const std::wstring&, HANDLE)> during;
};

class RecordingStarter : public hc::InstallerStarter {
public:
    bool Start(const std::wstring& path) override {
        started = path;
        if (during) during(path);
        return succeeds;
    }
    bool succeeds = true;
    std::wstring started;
    std::function<void(const std::wstring&)> during;
};

// Points the update check at a server for the lifetime of the object (HUSHCLOAK_UPDATE_SERVER).
class ScopedUpdateServerVariable {
public:
    explicit ScopedUpdateServerVariable(const std::wstring& origin);
    ~ScopedUpdateServerVariable();
    ScopedUpdateServerVariable(const ScopedUpdateServerVariable&) = delete;
    ScopedUpdateServerVariable& operator=(const ScopedUpdateServerVariable&) = delete;
};

// The bytes of a file, for serving a real program as an installer.
std::string FileBytes(const std::wstring& path);

}  // namespace hctest
