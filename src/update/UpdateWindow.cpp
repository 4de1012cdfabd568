#include "update/UpdateWindow.h"

#include <commctrl.h>

#include <vector>

#include "platform/Locale.h"
#include "platform/Messages.h"
#include "platform/WindowSystem.h"
#include "settings/Conversions.h"
#include "settings/Options.h"
#include "ui/Dialogs.h"
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

struct ControlSpec {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    RECT box;  // dialog units: left, top, right, bottom
};

// Laid out in dialog units, so the window follows the dialog font and the monitor's DPI.
const ControlSpec kControls[] = {
    {TUpdate_f::kIdCurrentGroup, L"BUTTON", L" Current version ", BS_GROUPBOX, {7, 4, 253, 30}},
    {TUpdate_f::kIdCurrentVersionLabel1, L"STATIC", L"", SS_LEFT, {15, 16, 130, 26}},
    {TUpdate_f::kIdCurrentVersionLabel2, L"STATIC", L"", SS_LEFT, {135, 16, 246, 26}},
    {TUpdate_f::kIdLatestGroup, L"BUTTON", L" Latest version ", BS_GROUPBOX, {7, 34, 253, 60}},
    {TUpdate_f::kIdLatestVersionLabel1, L"STATIC", L"", SS_LEFT, {15, 46, 130, 56}},
    {TUpdate_f::kIdLatestVersionLabel2, L"STATIC", L"", SS_LEFT, {135, 46, 246, 56}},
    {TUpdate_f::kIdCheckNowLabel, L"STATIC", L"CHECK NOW!", SS_LEFT | SS_NOTIFY, {15, 46, 130, 56}},
    {TUpdate_f::kIdNewsGroup, L"BUTTON", L" Latest news ", BS_GROUPBOX, {7, 64, 253, 142}},
    {TUpdate_f::kIdLatestNews, L"EDIT",
     L" *** You'll have to check for updates in order to receive the latest news! ***",
     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, {14, 76, 246, 136}},
    {TUpdate_f::kIdDownloadGroup, L"BUTTON", L" Download && install ", BS_GROUPBOX, {7, 146, 253, 190}},
    {TUpdate_f::kIdDownloadInstallLabel2, L"STATIC", L"Idle...", SS_LEFT, {15, 158, 200, 168}},
    {TUpdate_f::kIdDownloadInstallLabel1, L"STATIC", L"0 %", SS_RIGHT, {200, 158, 246, 168}},
    {TUpdate_f::kIdProgressBar, PROGRESS_CLASSW, L"", 0, {15, 172, 246, 182}},
    {TUpdate_f::kIdBtnCheckNow, L"BUTTON", L"Check for updates", BS_PUSHBUTTON | WS_TABSTOP, {7, 196, 92, 211}},
    {TUpdate_f::kIdBtnDownload, L"BUTTON", L"Download updates", BS_PUSHBUTTON | WS_TABSTOP, {97, 196, 182, 211}},
    {TUpdate_f::kIdBtnClose, L"BUTTON", L"Close", BS_PUSHBUTTON | WS_TABSTOP, {193, 196, 253, 211}},
};
constexpr short kDialogWidth = 260;
constexpr short kDialogHeight = 218;

// A dialog template without items: the controls come from the table above.
std::vector<WORD> EmptyDialogTemplate() {
    std::vector<WORD> words;
    const DWORD style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_TOOLWINDOW;  // no taskbar button, like every window of the program
    words.insert(words.end(), {LOWORD(style), HIWORD(style), LOWORD(exStyle), HIWORD(exStyle), 0, 0, 0,
                               static_cast<WORD>(kDialogWidth), static_cast<WORD>(kDialogHeight), 0, 0, 0, 8});
    for (const wchar_t* c = L"MS Shell Dlg"; *c; ++c) words.push_back(static_cast<WORD>(*c));
    words.push_back(0);
    return words;
}

HFONT DerivedFont(HFONT font, bool underlined) {
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof(description), &description)) return nullptr;
    description.lfWeight = FW_BOLD;
    description.lfUnderline = underlined ? TRUE : FALSE;
    return CreateFontIndirectW(&description);
}

}  // namespace

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
    : session_(session), options_(options), messages_(messages), callbacks_(std::move(callbacks)) {
    TrimMemory(options_);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    const std::vector<WORD> layout = EmptyDialogTemplate();
    window_.reset(CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(layout.data()), nullptr,
                                             &DialogProcFor<TUpdate_f>, 0));
    if (!window_) return;
    SetWindowTextW(window_.get(), kCaption);
    MarkAsHoldingWork(window_.get());  // a panic hides it and the restore gives it back, download and all
    CreateControls();
    FormCreate();
    CentreOnScreen(window_.get());
    // Messages reach the object only from here on, when every control exists.
    SetWindowLongPtrW(window_.get(), DWLP_USER, reinterpret_cast<LONG_PTR>(this));
}

TUpdate_f::~TUpdate_f() {
    if (window_) SetWindowLongPtrW(window_.get(), DWLP_USER, 0);
}

void TUpdate_f::CreateControls() {
    const HWND dialog = window_.get();
    const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (const ControlSpec& spec : kControls) {
        RECT box = spec.box;
        MapDialogRect(dialog, &box);
        const HWND control = CreateWindowExW(0, spec.className, spec.text, WS_CHILD | WS_VISIBLE | spec.style,
                                             box.left, box.top, box.right - box.left, box.bottom - box.top, dialog,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                             GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    bold_.reset(DerivedFont(font, false));
    boldUnderlined_.reset(DerivedFont(font, true));
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
    // Only a check that found a newer build, in this window or an earlier one of the run, offers a download.
    Enable(kIdBtnDownload, session_.LatestIsNewer());
    TrimMemory(options_);
}

void TUpdate_f::ShowModal() {
    const HWND dialog = window_.get();
    if (!dialog || closed_) return;
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    RunDialogLoop(dialog, [this] { return closed_; });
    if (IsWindow(dialog)) ShowWindow(dialog, SW_HIDE);
}

void TUpdate_f::BringToFront() {
    if (!window_) return;
    if (IsIconic(window_.get())) ShowWindow(window_.get(), SW_RESTORE);
    SetForegroundWindow(window_.get());
}

INT_PTR TUpdate_f::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
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
            SetWindowLongPtrW(window_.get(), DWLP_MSGRESULT, TRUE);
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

void TUpdate_f::CheckNowLabelMouseEnter() { SetCursor(LoadCursorW(nullptr, IDC_HAND)); }

void TUpdate_f::btnCheckNowClick() {
    if (checking_ || downloading_ || closed_) return;
    checking_ = true;
    Enable(kIdBtnCheckNow, false);
    Show(kIdCheckNowLabel, false);
    SetText(kIdBtnCheckNow, L"Please wait...");
    UpdateWindow(window_.get());

    const auto news = session_.Check();
    checking_ = false;
    if (!news) {
        ShowCheckFailed();
    } else {
        const bool newer = session_.LatestIsNewer();
        SetText(kIdBtnCheckNow, L"Check complete!");
        // Nothing newer: the user may look again later in the same window.
        Enable(kIdBtnCheckNow, !newer);
        hints_.erase(kIdBtnCheckNow);
        ShowLatest();
        Enable(kIdBtnDownload, newer);
        const HWND memo = Control(kIdLatestNews);
        SetText(kIdLatestNews, *news);
        SendMessageW(memo, EM_SETSEL, 0, 0);
        SendMessageW(memo, EM_SCROLLCARET, 0, 0);
        SetFocus(memo);
    }
    TrimMemory(options_);
}

void TUpdate_f::ShowLatest() {
    const TVersion* latest = session_.Latest();
    if (!latest) return;
    const bool newer = session_.LatestIsNewer();
    SetText(kIdLatestVersionLabel1, VersionText(*latest));
    SetText(kIdLatestVersionLabel2, DateText(*latest));
    SetLook(kIdLatestVersionLabel1, newer ? kRed : GetSysColor(COLOR_BTNTEXT), newer ? bold_.get() : nullptr);
    SetLook(kIdLatestVersionLabel2, kGrey, newer ? bold_.get() : nullptr);
    Show(kIdLatestVersionLabel1, true);
    Show(kIdLatestVersionLabel2, true);
}

void TUpdate_f::ShowCheckFailed() {
    Show(kIdLatestVersionLabel1, false);
    Show(kIdLatestVersionLabel2, false);
    SetText(kIdCheckNowLabel, L"FAILED... RETRY?");
    SetLook(kIdCheckNowLabel, kRed, boldUnderlined_.get());
    Show(kIdCheckNowLabel, true);
    SetText(kIdBtnCheckNow, L"Failed... Retry?");
    Enable(kIdBtnCheckNow, true);
    hints_[kIdBtnCheckNow] = kCheckFailedHint;
    // The failed check replaced the record: there is nothing to download now.
    Enable(kIdBtnDownload, false);
}

void TUpdate_f::DownloadInstallButtonClick() {
    if (checking_ || downloading_ || closed_) return;
    const auto path = session_.InstallerPath();
    if (!path || !session_.ServerMayBeReachable()) {
        ShowDownloadFailed();
        return;
    }
    downloading_ = true;
    cancelRequested_ = false;
    ShowDownloadGroup(true);
    Enable(kIdBtnDownload, false);
    const bool checkWasUsable = IsWindowEnabled(Control(kIdBtnCheckNow));
    // A check while the download pumps messages would run inside it; the download comes first.
    Enable(kIdBtnCheckNow, false);
    EnableWindow(Control(kIdCheckNowLabel), FALSE);
    SetText(kIdDownloadInstallLabel2, L"Downloading installer... Please wait!");
    SetText(kIdBtnDownload, L"Downloading...");
    SetText(kIdBtnClose, L"Cancel");

    const int result = DownloadFileWithProgress(InstallerUrlOf(session_.Latest()), *path, Control(kIdProgressBar),
                                                Control(kIdDownloadInstallLabel1), &cancelRequested_);
    downloading_ = false;
    SetText(kIdBtnClose, L"Close");
    Enable(kIdBtnCheckNow, checkWasUsable);
    EnableWindow(Control(kIdCheckNowLabel), TRUE);
    if (closeRequested_) {
        CloseButtonClick();
        return;
    }
    if (result != 0) {
        ShowDownloadFailed();
        return;
    }
    SetText(kIdDownloadInstallLabel2, L"Installing in progress... Please wait!");
    SetText(kIdBtnDownload, L"Installing...");
    UpdateWindow(window_.get());
    switch (session_.VerifyAndStart(window_.get(), *path)) {
        case UpdateSession::StartResult::Started:
            if (callbacks_.onInstallerStarted) callbacks_.onInstallerStarted();
            return;
        case UpdateSession::StartResult::NotVerified:
            ShowDownloadFailed();
            messages_.Error(kNotVerifiedMessage);
            return;
        case UpdateSession::StartResult::NotStarted:
            ShowDownloadFailed();
            messages_.Error(kNotStartedMessage);
            return;
    }
}

void TUpdate_f::ShowDownloadFailed() {
    ShowDownloadGroup(false);
    SetText(kIdDownloadInstallLabel2, L"Idle...");
    SetText(kIdBtnDownload, L"Failed... Retry?");
    hints_[kIdBtnDownload] = kDownloadFailedHint;
    Enable(kIdBtnDownload, session_.LatestIsNewer());
    TrimMemory(options_);
}

void TUpdate_f::ShowDownloadGroup(bool enabled) {
    for (int id : {kIdDownloadGroup, kIdDownloadInstallLabel1, kIdDownloadInstallLabel2, kIdProgressBar})
        Enable(id, enabled);
}

void TUpdate_f::CloseButtonClick() {
    if (closed_) return;
    if (downloading_) {
        // The download ends at its next progress report; then this runs again and closes.
        cancelRequested_ = true;
        closeRequested_ = true;
        return;
    }
    FormClose();
}

void TUpdate_f::FormClose() {
    closed_ = true;
    if (window_) ShowWindow(window_.get(), SW_HIDE);
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

void TUpdate_f::SetText(int id, const std::wstring& text) { SetDlgItemTextW(window_.get(), id, text.c_str()); }

void TUpdate_f::Show(int id, bool shown) { ShowWindow(Control(id), shown ? SW_SHOW : SW_HIDE); }

void TUpdate_f::Enable(int id, bool enabled) { EnableWindow(Control(id), enabled ? TRUE : FALSE); }

void TUpdate_f::SetLook(int id, COLORREF colour, HFONT font) {
    colours_[id] = colour;
    const HFONT chosen = font ? font : reinterpret_cast<HFONT>(SendMessageW(window_.get(), WM_GETFONT, 0, 0));
    SendMessageW(Control(id), WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
}

}  // namespace hc
