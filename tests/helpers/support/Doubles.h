#pragma once
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Collaborators.h"
#include "engine/Dispatcher.h"
#include "platform/Processes.h"
#include "engine/VisibleWindowList.h"
#include "engine/WindowEngine.h"
#include "platform/WindowSystem.h"
#include "settings/Settings.h"

namespace hctest {

// One log for all doubles, so tests can check the order of calls across collaborators.
using CallLog = std::vector<std::string>;

// An in-memory window manager.
class FakeWindowSystem : public hc::WindowSystem {
public:
    explicit FakeWindowSystem(CallLog& log) : log_(log) {}
    static constexpr DWORD kOtherProgram = 100;  // whose windows Add makes; 0 would be a window that is gone
    struct FakeWindow {
        std::wstring title;
        bool visible = true;
        DWORD processId = kOtherProgram;
        hc::WindowFacts facts;  // class, styles, owner, cloaking
    };
    HWND Add(const std::wstring& title, bool visible = true);
    HWND AddAt(HWND window, const std::wstring& title);
    bool Visible(HWND window) const { return windows_.at(window).visible; }
    FakeWindow& At(HWND window) { return windows_.at(window); }
    // The window closes and another program's window gets the same handle.
    void Reuse(HWND window, DWORD newProcessId) { windows_.at(window).processId = newProcessId; }
    void Remove(HWND window);
    int failOnShow = 0;  // the n-th ShowAsync from now throws (0: never)
    std::set<HWND> refuseShow;  // ShowAsync answers false for these and leaves them hidden
    std::set<HWND> holdingWork;
    std::set<HWND> heldWork;  // told that a panic hid them, and not yet given back

    std::vector<HWND> TopLevelWindows() override { return order_; }
    std::wstring Title(HWND window) override;
    void ReadFacts(HWND window, hc::WindowFacts& facts) override;
    bool IsVisible(HWND window) override;
    bool Exists(HWND window) override { return windows_.count(window) != 0; }
    DWORD ProcessId(HWND window) override { return Exists(window) ? windows_[window].processId : 0; }
    HWND Foreground() override { return foreground; }
    void HideAsync(HWND window) override;
    void HideInPlaceAsync(HWND window) override { HideAsync(window); }
    bool ShowAsync(HWND window, int showCommand) override;
    bool ShowActivatedAsync(HWND window) override {
        const bool shown = ShowAsync(window, SW_SHOW);
        BringToFront(window);
        return shown;
    }
    bool ShowInPlaceAsync(HWND window) override { return ShowAsync(window, SW_SHOWNA); }
    bool PostClose(HWND window) override;
    bool BringToFront(HWND window) override;
    std::vector<HWND> OwnTopLevelWindows() override;
    bool HoldsWork(HWND window) override { return holdingWork.count(window) != 0; }
    void HoldWork(HWND window, bool held) override {
        if (held)
            heldWork.insert(window);
        else
            heldWork.erase(window);
    }
    void CloseAsCancel(HWND window) override;

    HWND foreground = nullptr;
    std::vector<HWND> closeRequests;
    DWORD ownProcessId = 7;  // the windows of this process are the program's own
    std::function<void(HWND)> afterIsVisible;  // the window may vanish right after it was seen

private:
    CallLog& log_;
    std::map<HWND, FakeWindow> windows_;
    std::vector<HWND> order_;
    uintptr_t next_ = 0x1000;
};

class RecordingShell : public hc::ProgramShell {
public:
    explicit RecordingShell(CallLog& log) : log_(log) {}
    bool IsMainWindowVisible() override { return mainWindowVisible; }
    void CloseMainWindow() override { log_.push_back("CloseMainWindow"); mainWindowVisible = false; }
    void CloseAboutWindow() override { log_.push_back("CloseAboutWindow"); }
    void SetTrayIconActive(bool active) override { log_.push_back(active ? "TrayOn" : "TrayOff"); }
    HWND PanicButtonWindow() override { return panicButton; }
    void ClosePanicButton() override { log_.push_back("ClosePanicButton"); }
    HWND LastActiveHandle() override { return lastActive; }
    HWND ControllerWindow() override { return reinterpret_cast<HWND>(0xC0); }
    HWND HotkeyDialogWindow() override { return reinterpret_cast<HWND>(0xD0); }
    void DetachIdleHandler() override { log_.push_back("DetachIdle"); }
    void AttachIdleHandler() override { log_.push_back("AttachIdle"); }

    bool mainWindowVisible = false;
    HWND panicButton = nullptr;
    HWND lastActive = nullptr;

private:
    CallLog& log_;
};

class RecordingSwitches : public hc::SystemSwitches {
public:
    explicit RecordingSwitches(CallLog& log) : log_(log) {}
    bool HasAdministratorRights() override { return administrator; }
    void SetTaskManagerDisabled(bool disabled) override {
        log_.push_back(disabled ? "TaskManagerOff" : "TaskManagerOn");
    }
    bool administrator = false;

private:
    CallLog& log_;
};

class RecordingCleanup : public hc::CleanupSteps {
public:
    explicit RecordingCleanup(CallLog& log) : log_(log) {}
    void SetAudioMute(bool muted) override { log_.push_back(muted ? "Mute" : "Unmute"); }
    void DoOptions() override {
        log_.push_back("DoOptions");
        if (fail) throw std::runtime_error("the history store refused");
    }
    bool fail = false;

private:
    CallLog& log_;
};

// A prompt whose answer and whose behaviour while open the test chooses.
class ScriptedPrompt : public hc::UnhidePrompt {
public:
    explicit ScriptedPrompt(CallLog& log) : log_(log) {}
    bool IsOpen() override { return open_; }
    bool AskForPassword(HWND owner) override;
    // Like the real prompt, a Cancel with nothing open does nothing.
    void Cancel() override {
        if (!open_) return;
        log_.push_back("PromptCancel");
        cancelled_ = true;
    }

    bool answer = true;                       // right password typed
    std::function<void()> whileOpen;          // runs inside the modal loop
    std::vector<HWND> owners;

private:
    CallLog& log_;
    bool open_ = false;
    bool cancelled_ = false;
};

class RecordingLauncher : public hc::DecoyLauncher {
public:
    explicit RecordingLauncher(CallLog& log) : log_(log) {}
    std::optional<hc::DecoyProcess> Launch(const std::wstring& file) override {
        log_.push_back("Launch " + std::string(file.begin(), file.end()));
        if (!result) return std::nullopt;
        hc::DecoyProcess process;
        process.id = *result;
        process.handle.reset(handle);
        return process;
    }
    std::optional<DWORD> result = 4242;
    HANDLE handle = nullptr;  // given to the launched decoy; the test owns what it puts here

private:
    CallLog& log_;
};

// Processes that the test makes up: paths and creation times follow from the id; handles end when told.
class FakeProcessSystem : public hc::ProcessSystem {
public:
    DWORD OwnProcessId() override { return ownId; }
    hc::ProcessInfo Info(DWORD processId) override {
        ++infoCalls;
        if (unreadable.count(processId)) return {L"", processId * 1000ull};
        return {L"C:\\Programs\\app" + std::to_wstring(processId) + L".exe", processId * 1000ull};
    }
    bool HasEnded(HANDLE process) override { return ended.count(process) != 0; }
    DWORD ownId = 7;
    int infoCalls = 0;
    std::set<HANDLE> ended;
    std::set<DWORD> unreadable;  // processes whose path cannot be read, as one of another user's
};

// Keeps what the engine wrote, as the registry would.
class RecordingJournal : public hc::HiddenJournal {
public:
    bool Save(const hc::HiddenWindowList& hidden) override {
        saved = hidden;
        ++saves;
        if (onSave) onSave();
        return true;
    }
    hc::HiddenWindowList saved;
    int saves = 0;
    std::function<void()> onSave;
};

// The engine and the dispatcher over a given window system, with recording doubles for everything else.
struct EngineRig {
    EngineRig(hc::WindowSystem& windows, CallLog& callLog, hc::DecoyLauncher* decoy = nullptr,
              hc::ProcessSystem* processes = nullptr)
        : log(callLog),
          processSystem(processes ? *processes : realProcesses),
          visible(windows, processSystem),
          engine(hc::EngineParts{windows, processSystem, visible, settings, shell, switches, cleanup, prompt, journal}),
          dispatcher(engine, settings, shell, cleanup, prompt, decoy ? *decoy : launcher) {}

    CallLog& log;
    hc::Win32ProcessSystem realProcesses;
    hc::ProcessSystem& processSystem;
    RecordingJournal journal;
    RecordingShell shell{log};
    RecordingSwitches switches{log};
    RecordingCleanup cleanup{log};
    ScriptedPrompt prompt{log};
    RecordingLauncher launcher{log};
    hc::Settings settings;
    hc::VisibleWindowList visible;
    hc::WindowEngine engine;
    hc::PrivacyDispatcher dispatcher;
};

}  // namespace hctest
