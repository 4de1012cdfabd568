#include "update/UpdateWindow.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "platform/Locale.h"
#include "platform/Messages.h"
#include "platform/WindowSystem.h"
#include "settings/Conversions.h"
#include "settings/Options.h"
#include "ui/DialogTemplate.h"
#include "update/InternetUtils.h"

namespace hc {

namespace {
constexpr COLORREF kRed = RGB(0xFF, 0, 0);
constexpr COLORREF kGreen = RGB(0, 0x80, 0);
constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);

constexpr wchar_t kCheckFailedHint[] =
    L"Connection to the Quorvane server has failed... Do you want to retry now? (please make sure you are "
    L"connected to the Internet!)";
constexpr wchar_t kDownloadFailedHint[] =
    L"Quorvane server cannot be reached or takes too long to respond... Do you want to retry now? (please check "
    L"the firewall settings and make sure you are connected to the Internet!)";
constexpr wchar_t kNotVerifiedMessage[] =
    L"The downloaded update could not be verified, so it was not installed. Please try again later.";
constexpr wchar_t kNotStartedMessage[] = L"The installer of the update could not be started.";
constexpr wchar_t kDownloadErrorText[] = L"Error downloading URL: ";

// Laid out in dialog units, so the window follows the dialog font and the monitor's DPI; listed in tab order.
const ControlRow kControls[] = {
    {L"BUTTON", L" Current version ", TUpdate_f::kIdCurrentGroup, BS_GROUPBOX, 7, 4, 246, 26},
    {L"STATIC", L"", TUpdate_f::kIdCurrentVersionLabel1, SS_LEFT, 15, 16, 115, 10},
    {L"STATIC", L"", TUpdate_f::kIdCurrentVersionLabel2, SS_LEFT, 135, 16, 111, 10},
    {L"BUTTON", L" Latest version ", TUpdate_f::kIdLatestGroup, BS_GROUPBOX, 7, 34, 246, 26},
    {L"STATIC", L"", TUpdate_f::kIdLatestVersionLabel1, SS_LEFT, 15, 46, 115, 10},
    {L"STATIC", L"", TUpdate_f::kIdLatestVersionLabel2, SS_LEFT, 135, 46, 111, 10},
    {L"STATIC", L"CHECK NOW!", TUpdate_f::kIdCheckNowLabel, SS_LEFT | SS_NOTIFY, 15, 46, 115, 10},
    {L"BUTTON", L" Latest news ", TUpdate_f::kIdNewsGroup, BS_GROUPBOX, 7, 64, 246, 78},
    {L"EDIT", L" *** You'll have to check for updates in order to receive the latest news! ***",
     TUpdate_f::kIdLatestNews, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 14,
     76, 232, 60},
    {L"BUTTON", L" Download && install ", TUpdate_f::kIdDownloadGroup, BS_GROUPBOX, 7, 146, 246, 44},
    {L"STATIC", L"Idle...", TUpdate_f::kIdDownloadInstallLabel2, SS_LEFT, 15, 158, 185, 10},
    {L"STATIC", L"0 %", TUpdate_f::kIdDownloadInstallLabel1, SS_RIGHT, 200, 158, 46, 10},
    {PROGRESS_CLASSW, L"", TUpdate_f::kIdProgressBar, 0, 15, 172, 231, 10},
    {L"BUTTON", L"Check for updates", TUpdate_f::kIdBtnCheckNow, BS_PUSHBUTTON | WS_TABSTOP, 7, 196, 85, 15},
    {L"BUTTON", L"Download updates", TUpdate_f::kIdBtnDownload, BS_PUSHBUTTON | WS_TABSTOP, 97, 196, 85, 15},
    {L"BUTTON", L"Close", TUpdate_f::kIdBtnClose, BS_PUSHBUTTON | WS_TABSTOP, 193, 196, 60, 15},
};
constexpr short kDialogWidth = 260;
constexpr short kDialogHeight = 218;

HFONT DerivedFont(HFONT font, bool underlined) {
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof(description), &description)) return nullptr;
    description.lfWeight = FW_BOLD;
    description.lfUnderline = underlined ? TRUE : FALSE;
    return CreateFontIndirectW(&description);
}

HWND CreateUpdateDialog() {
    // No taskbar button, like every window of the program.
    const DialogTemplate layout(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, kDialogWidth,
                                kDialogHeight, TUpdate_f::kCaption, kControls);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), layout.get(), nullptr, &DialogProcFor<TUpdate_f>, 0);
}

}  // namespace

struct TUpdate_f::Event {
    enum class Kind { Percent, Verifying, Checked, Installed } kind;
    int percent = 0;
    UpdateSession::CheckOutcome check;
    std::optional<UpdateWorkflow::Outcome> installed;
};

std::wstring VersionText(const TVersion& v) {
    return L"v" + IntToText(v.GetMajorVersion()) + L"." + IntToText(v.GetMinorVersion()) + L"." +
           IntToText(v.GetRelease()) + L" (Build " + IntToText(v.GetBuild()) + L")";
}

std::wstring DateText(const TVersion& v) {
    SYSTEMTIME day{};
    const CalendarDate date = v.GetReleaseDate();
    day.wYear = static_cast<WORD>(date.year);
    day.wMonth = static_cast<WORD>(date.month);
    day.wDay = static_cast<WORD>(date.day);
    return L"- " + locale::ShortDate(day) + L" -";
}

TUpdate_f::TUpdate_f(UpdateSession& session, const TOptions* options, Messages& messages, Callbacks callbacks)
    : session_(session),
      options_(options),
      messages_(messages),
      callbacks_(std::move(callbacks)),
      workflow_(session.LatestIsNewer()) {
    TrimMemory(options_);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    window_ = CreateUpdateDialog();
    if (!window_) return;
    MarkAsHoldingWork(window_);  // a panic hides it and the restore gives it back, download and all
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    bold_.reset(DerivedFont(font, false));
    boldUnderlined_.reset(DerivedFont(font, true));
    FormCreate();
    CentreOnScreen(window_);
    // Messages reach the object only from here on, when every control has its look.
    SetWindowLongPtrW(window_, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
}

TUpdate_f::~TUpdate_f() {
    // The worker may still report: it ends first, and what it posted is dropped with the window.
    worker_.Stop();
    if (!window_) return;
    SetWindowLongPtrW(window_, DWLP_USER, 0);
    MSG left{};
    while (PeekMessageW(&left, window_, kEventMessage, kEventMessage, PM_REMOVE)) {
        // Wine hands out a pending quit request whatever the filter says: it stays for the main loop.
        if (left.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(left.wParam));
            break;
        }
        delete reinterpret_cast<Event*>(left.lParam);
    }
    DestroyWindow(window_);
}

void TUpdate_f::Post(HWND window, std::unique_ptr<Event> event) {
    // A window that is gone leaves the event to be freed here.
    if (PostMessageW(window, kEventMessage, 0, reinterpret_cast<LPARAM>(event.get()))) event.release();
}

void TUpdate_f::FormCreate() {
    const TVersion& running = session_.Running();
    SetText(kIdCurrentVersionLabel1, VersionText(running));
    SetText(kIdCurrentVersionLabel2, DateText(running));
    SetLook(kIdCurrentVersionLabel2, kGrey, nullptr);
    SetLook(kIdLatestVersionLabel2, kGrey, nullptr);
    Show(kIdLatestVersionLabel1, false);
    Show(kIdLatestVersionLabel2, false);
    SetLook(kIdCheckNowLabel, kGreen, boldUnderlined_.get());
    ShowDownloadGroup(false);
    SendMessageW(Control(kIdProgressBar), PBM_SETRANGE32, 0, 100);
    // Only a check that found a newer build, in this window or an earlier one of the run, offers a download.
    ShowButtons();
    TrimMemory(options_);
}

void TUpdate_f::ShowModal() {
    if (!window_ || closed_) return;
    modalResult_ = 0;
    RunModal(window_, nullptr, modalResult_);
}

void TUpdate_f::BringToFront() {
    if (!window_) return;
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
}

INT_PTR TUpdate_f::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == HoldWorkMessage()) {
        Hold(wp != 0);
        return TRUE;
    }
    switch (msg) {
        case kResumeMessage:
            RunHeldBack();
            return TRUE;
        case kEventMessage: {
            std::unique_ptr<Event> event(reinterpret_cast<Event*>(lp));
            if (event) OnEvent(*event);
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED) return FALSE;  // STN_CLICKED is 0 as well
            switch (LOWORD(wp)) {
                case kIdBtnCheckNow:
                case kIdCheckNowLabel:
                    btnCheckNowClick();
                    return TRUE;
                case kIdBtnDownload:
                    DownloadInstallButtonClick();
                    return TRUE;
                case kIdBtnClose:
                case IDCANCEL:  // Escape
                    CloseButtonClick();
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_CLOSE:
            CloseButtonClick();
            return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) TrimMemory(options_);
            return FALSE;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wp) != Control(kIdCheckNowLabel)) return FALSE;
            CheckNowLabelMouseEnter();
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            const auto look = colours_.find(GetDlgCtrlID(reinterpret_cast<HWND>(lp)));
            if (look == colours_.end()) return FALSE;
            SetTextColor(reinterpret_cast<HDC>(wp), look->second);
            SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        default:
            return FALSE;
    }
}

void TUpdate_f::OnEvent(Event& event) {
    switch (event.kind) {
        case Event::Kind::Percent:
            SendMessageW(Control(kIdProgressBar), PBM_SETPOS, static_cast<WPARAM>(event.percent), 0);
            SetText(kIdDownloadInstallLabel1, IntToText(event.percent) + L" %");
            return;
        case Event::Kind::Verifying:
            workflow_.DownloadEnded(true);
            SendMessageW(Control(kIdProgressBar), PBM_SETPOS, 0, 0);
            SetText(kIdDownloadInstallLabel2, L"Installing in progress... Please wait!");
            SetText(kIdBtnDownload, L"Installing...");
            return;
        case Event::Kind::Checked:
            OnChecked(event);
            return;
        case Event::Kind::Installed:
            OnInstalled(event);
            return;
    }
}

void TUpdate_f::Hold(bool held) {
    held_ = held;
    if (held) {
        // Cancelled, not merely held: an installer that started now would end the program and show every window.
        worker_.Cancel();
        return;
    }
    // Posted: the restore that gives the window back finishes before any box of ours opens.
    if (!heldBack_.empty()) PostMessageW(window_, kResumeMessage, 0, 0);
}

void TUpdate_f::WhenShown(std::function<void()> action) {
    if (held_)
        heldBack_.push_back(std::move(action));
    else
        action();
}

void TUpdate_f::RunHeldBack() {
    if (held_) return;  // another panic came first: its restore posts again
    for (auto& action : std::exchange(heldBack_, {})) action();
}

void TUpdate_f::CheckNowLabelMouseEnter() { SetCursor(LoadCursorW(nullptr, IDC_HAND)); }

void TUpdate_f::btnCheckNowClick() {
    if (closed_ || !workflow_.StartCheck()) return;
    Show(kIdCheckNowLabel, false);
    SetText(kIdBtnCheckNow, L"Please wait...");
    ShowButtons();
    const HWND window = window_;
    const UpdateSession& session = session_;
    worker_.Run([window, &session](const std::atomic<bool>& cancel) {
        auto event = std::make_unique<Event>(Event{Event::Kind::Checked, 0, {}, {}});
        try {
            event->check = session.Check(cancel);
        } catch (...) {
            // Left to the window: an empty outcome is a failed check, and it says so.
        }
        Post(window, std::move(event));
    });
}

void TUpdate_f::OnChecked(Event& event) {
    const std::optional<std::wstring> news = std::move(event.check.news);
    session_.Apply(std::move(event.check));
    workflow_.CheckEnded(news.has_value() && session_.Latest(), session_.LatestIsNewer());
    if (workflow_.WorkStopped()) {
        WhenShown([this] { FormClose(); });
        return;
    }
    if (workflow_.Current() == UpdateWorkflow::State::Failed) {
        ShowCheckFailed();
    } else {
        SetText(kIdBtnCheckNow, L"Check complete!");
        hints_.erase(kIdBtnCheckNow);
        ShowLatest(*news);
    }
    ShowButtons();
    TrimMemory(options_);
}

void TUpdate_f::ShowLatest(const std::wstring& news) {
    const TVersion* latest = session_.Latest();
    if (!latest) return;
    const bool newer = session_.LatestIsNewer();
    SetText(kIdLatestVersionLabel1, VersionText(*latest));
    SetText(kIdLatestVersionLabel2, DateText(*latest));
    SetLook(kIdLatestVersionLabel1, newer ? kRed : GetSysColor(COLOR_BTNTEXT), newer ? bold_.get() : nullptr);
    SetLook(kIdLatestVersionLabel2, kGrey, newer ? bold_.get() : nullptr);
    Show(kIdLatestVersionLabel1, true);
    Show(kIdLatestVersionLabel2, true);
    const HWND memo = Control(kIdLatestNews);
    SetText(kIdLatestNews, news);
    SendMessageW(memo, EM_SETSEL, 0, 0);
    SendMessageW(memo, EM_SCROLLCARET, 0, 0);
    SetFocus(memo);
}

void TUpdate_f::ShowCheckFailed() {
    Show(kIdLatestVersionLabel1, false);
    Show(kIdLatestVersionLabel2, false);
    SetText(kIdCheckNowLabel, L"FAILED... RETRY?");
    SetLook(kIdCheckNowLabel, kRed, boldUnderlined_.get());
    Show(kIdCheckNowLabel, true);
    SetText(kIdBtnCheckNow, L"Failed... Retry?");
    hints_[kIdBtnCheckNow] = kCheckFailedHint;
}

void TUpdate_f::ShowButtons() {
    Enable(kIdBtnCheckNow, workflow_.CanCheck());
    EnableWindow(Control(kIdCheckNowLabel), workflow_.CanCheck() ? TRUE : FALSE);
    Enable(kIdBtnDownload, workflow_.CanDownload());
    SetText(kIdBtnClose, workflow_.Busy() ? L"Cancel" : L"Close");
}

void TUpdate_f::DownloadInstallButtonClick() {
    if (closed_ || !workflow_.StartDownload()) return;
    const UpdateSession::InstallRequest request = session_.NextInstall();
    downloadUrl_ = request.url;
    ShowDownloadGroup(true);
    SetText(kIdDownloadInstallLabel2, L"Downloading installer... Please wait!");
    SetText(kIdBtnDownload, L"Downloading...");
    ShowButtons();
    const HWND window = window_;
    const UpdateSession& session = session_;
    worker_.Run([window, &session, request](const std::atomic<bool>& cancel) {
        UpdateSession::InstallProgress progress{
            [window](int percent) {
                Post(window, std::make_unique<Event>(Event{Event::Kind::Percent, percent, {}, {}}));
            },
            [window] {
                Post(window, std::make_unique<Event>(Event{Event::Kind::Verifying, 0, {}, {}}));
            }};
        auto event = std::make_unique<Event>(Event{Event::Kind::Installed, 0, {}, {}});
        try {
            event->installed = session.Install(request, progress, cancel);
        } catch (...) {
            // Left to the window: no outcome is a failed download, and it says so.
        }
        Post(window, std::move(event));
    });
}

void TUpdate_f::OnInstalled(Event& event) {
    if (!event.installed) {
        workflow_.InstallAbandoned();
    } else {
        workflow_.DownloadEnded(true);  // when its report of the verification was not handled yet
        workflow_.InstallEnded(*event.installed);
    }
    SendMessageW(Control(kIdProgressBar), PBM_SETPOS, 0, 0);
    if (workflow_.Current() == UpdateWorkflow::State::Installing) {
        ShowButtons();
        WhenShown([this] {
            if (callbacks_.onInstallerStarted) callbacks_.onInstallerStarted();
        });
        return;
    }
    if (workflow_.WorkStopped()) {
        WhenShown([this] { FormClose(); });
        return;
    }
    ShowDownloadFailed();
    ShowButtons();
    const UpdateWorkflow::Failure failure = workflow_.LastFailure();
    if (failure == UpdateWorkflow::Failure::NotVerified || failure == UpdateWorkflow::Failure::NotStarted)
        WhenShown([this, failure] {
            messages_.Error(failure == UpdateWorkflow::Failure::NotVerified ? kNotVerifiedMessage : kNotStartedMessage);
        });
    TrimMemory(options_);
}

void TUpdate_f::ShowDownloadFailed() {
    ShowDownloadGroup(false);
    // A download that failed names its address; a refused or unstartable installer is said in a message.
    SetText(kIdDownloadInstallLabel2, workflow_.LastFailure() == UpdateWorkflow::Failure::Download
                                          ? kDownloadErrorText + downloadUrl_
                                          : std::wstring(L"Idle..."));
    SetText(kIdBtnDownload, L"Failed... Retry?");
    hints_[kIdBtnDownload] = kDownloadFailedHint;
}

void TUpdate_f::ShowDownloadGroup(bool enabled) {
    for (int id : {kIdDownloadGroup, kIdDownloadInstallLabel1, kIdDownloadInstallLabel2, kIdProgressBar})
        Enable(id, enabled);
}

void TUpdate_f::CloseButtonClick() {
    if (closed_) return;
    if (workflow_.RequestClose()) {
        FormClose();
        return;
    }
    // The work stops at its next progress report; its end then closes the window.
    worker_.Cancel();
    ShowButtons();
}

void TUpdate_f::FormClose() {
    closed_ = true;
    modalResult_ = IDCANCEL;
    if (window_) ShowWindow(window_, SW_HIDE);
    if (callbacks_.onClosed) callbacks_.onClosed();
    TrimMemory(options_);
}

std::wstring TUpdate_f::Hint(int id) const {
    const auto hint = hints_.find(id);
    return hint == hints_.end() ? std::wstring() : hint->second;
}

COLORREF TUpdate_f::TextColour(int id) const {
    const auto look = colours_.find(id);
    return look == colours_.end() ? GetSysColor(COLOR_BTNTEXT) : look->second;
}

bool TUpdate_f::IsBold(int id) const {
    LOGFONTW description{};
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Control(id), WM_GETFONT, 0, 0));
    return font && GetObjectW(font, sizeof(description), &description) && description.lfWeight >= FW_BOLD;
}

void TUpdate_f::SetText(int id, const std::wstring& text) { SetDlgItemTextW(window_, id, text.c_str()); }

void TUpdate_f::Show(int id, bool shown) { ShowWindow(Control(id), shown ? SW_SHOW : SW_HIDE); }

void TUpdate_f::Enable(int id, bool enabled) { EnableWindow(Control(id), enabled ? TRUE : FALSE); }

void TUpdate_f::SetLook(int id, COLORREF colour, HFONT font) {
    colours_[id] = colour;
    const HFONT chosen = font ? font : reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    SendMessageW(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
}

}  // namespace hc
