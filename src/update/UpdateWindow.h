#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "update/UpdateSession.h"
#include "update/UpdateWorker.h"
#include "update/UpdateWorkflow.h"

namespace hc {

class Messages;
class TOptions;

// Texts of a record as the update window shows them.
std::wstring VersionText(const TVersion& version);
std::wstring DateText(const TVersion& version);

// The update window: the running version, the check, the news, and the installer download. It shows the state
// of its workflow; the check and the download run on a worker thread. Its owner creates it for one showing and
// destroys it after ShowModal returns; nothing else destroys it.
class TUpdate_f {
public:
    static constexpr wchar_t kCaption[] = L"Hushcloak Privacy - WebUpdate";
    // Control ids, stable for tests that drive the window.
    static constexpr int kIdCurrentGroup = 1101;
    static constexpr int kIdCurrentVersionLabel1 = 1102;
    static constexpr int kIdCurrentVersionLabel2 = 1103;
    static constexpr int kIdLatestGroup = 1104;
    static constexpr int kIdLatestVersionLabel1 = 1105;
    static constexpr int kIdLatestVersionLabel2 = 1106;
    static constexpr int kIdCheckNowLabel = 1107;
    static constexpr int kIdNewsGroup = 1108;
    static constexpr int kIdLatestNews = 1109;
    static constexpr int kIdDownloadGroup = 1110;
    static constexpr int kIdDownloadInstallLabel1 = 1111;
    static constexpr int kIdDownloadInstallLabel2 = 1112;
    static constexpr int kIdProgressBar = 1113;
    static constexpr int kIdBtnCheckNow = 1114;
    static constexpr int kIdBtnDownload = 1115;
    static constexpr int kIdBtnClose = 1116;

    // What the worker reports, posted to the window's thread (lParam owns an Event).
    static constexpr UINT kEventMessage = WM_APP + 0x55;
    // Runs what a panic held back, once the restore has given the window back.
    static constexpr UINT kResumeMessage = WM_APP + 0x56;

    struct Callbacks {
        std::function<void()> onClosed;            // shows the main window (through the password gate)
        std::function<void()> onInstallerStarted;  // ends the program through its exit path
    };

    TUpdate_f(UpdateSession& session, const TOptions* options, Messages& messages, Callbacks callbacks);
    ~TUpdate_f();
    TUpdate_f(const TUpdate_f&) = delete;
    TUpdate_f& operator=(const TUpdate_f&) = delete;

    HWND Handle() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    // Shows the window and runs its loop until it closes or the program is asked to end.
    void ShowModal();
    bool IsClosed() const { return closed_; }
    const UpdateWorkflow& Workflow() const { return workflow_; }
    bool IsDownloading() const { return workflow_.Current() == UpdateWorkflow::State::Downloading; }
    void BringToFront();

    // What the hint of a control says (tooltips are off for the whole program, so it is not shown).
    std::wstring Hint(int id) const;
    COLORREF TextColour(int id) const;
    bool IsBold(int id) const;

    // Handlers.
    void btnCheckNowClick();
    void DownloadInstallButtonClick();
    void CloseButtonClick();
    void CheckNowLabelMouseEnter();

private:
    struct Event;
    template <class Dialog>
    friend INT_PTR CALLBACK DialogProcFor(HWND, UINT, WPARAM, LPARAM) noexcept;
    template <class>
    friend struct DialogBinding;
    static void Post(HWND window, std::unique_ptr<Event> event);
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnEvent(Event& event);
    // A panic hid the window: its work stops, and nothing it leads to comes on the screen until the restore.
    void Hold(bool held);
    void WhenShown(std::function<void()> action);
    void RunHeldBack();
    void OnChecked(Event& event);
    void OnInstalled(Event& event);
    void FormCreate();
    void FormClose();
    void SetText(int id, const std::wstring& text);
    void Show(int id, bool shown);
    void Enable(int id, bool enabled);
    void SetLook(int id, COLORREF colour, HFONT font);
    void ShowDownloadGroup(bool enabled);
    void ShowCheckFailed();
    void ShowDownloadFailed();
    void ShowLatest(const std::wstring& news);
    void ShowButtons();

    UpdateSession& session_;
    const TOptions* options_;
    Messages& messages_;
    Callbacks callbacks_;
    HWND window_ = nullptr;
    UniqueFont bold_;
    UniqueFont boldUnderlined_;
    std::map<int, COLORREF> colours_;
    std::map<int, std::wstring> hints_;
    UpdateWorkflow workflow_;
    std::wstring downloadUrl_;
    int modalResult_ = 0;
    bool closed_ = false;
    bool held_ = false;
    std::vector<std::function<void()>> heldBack_;  // boxes, the installer's exit, the close: after the restore
    UpdateWorker worker_;  // last: its thread is stopped before anything it reports to goes
};

}  // namespace hc
