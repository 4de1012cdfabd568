#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "platform/Handles.h"
#include "update/UpdateSession.h"

namespace hc {

class Messages;
class TOptions;

// Texts of a record as the update window shows them.
std::wstring VersionText(const TVersion& version);
std::wstring DateText(const TVersion& version);

// The update window: the running version, the check, the news, and the installer download. Its owner creates
// it for one showing and destroys it after ShowModal returns; nothing else destroys it.
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

    struct Callbacks {
        std::function<void()> onClosed;            // shows the main window (through the password gate)
        std::function<void()> onInstallerStarted;  // ends the program through its exit path
    };

    TUpdate_f(UpdateSession& session, const TOptions* options, Messages& messages, Callbacks callbacks);
    ~TUpdate_f();
    TUpdate_f(const TUpdate_f&) = delete;
    TUpdate_f& operator=(const TUpdate_f&) = delete;

    HWND Handle() const { return window_.get(); }
    HWND Control(int id) const { return GetDlgItem(window_.get(), id); }
    // Shows the window and runs its loop until it closes or the program is asked to end.
    void ShowModal();
    bool IsClosed() const { return closed_; }
    bool IsDownloading() const { return downloading_; }
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
    template <class Dialog>
    friend INT_PTR CALLBACK DialogProcFor(HWND, UINT, WPARAM, LPARAM) noexcept;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void FormCreate();
    void FormClose();
    void CreateControls();
    void SetText(int id, const std::wstring& text);
    void Show(int id, bool shown);
    void Enable(int id, bool enabled);
    void SetLook(int id, COLORREF colour, HFONT font);
    void ShowDownloadGroup(bool enabled);
    void ShowCheckFailed();
    void ShowDownloadFailed();
    void ShowLatest();

    using UniqueWindow = Unique<HWND, &DestroyWindow>;
    UpdateSession& session_;
    const TOptions* options_;
    Messages& messages_;
    Callbacks callbacks_;
    UniqueWindow window_;
    UniqueFont bold_;
    UniqueFont boldUnderlined_;
    std::map<int, COLORREF> colours_;
    std::map<int, std::wstring> hints_;
    bool checking_ = false;
    bool downloading_ = false;
    bool cancelRequested_ = false;
    bool closeRequested_ = false;
    bool closed_ = false;
};

}  // namespace hc
