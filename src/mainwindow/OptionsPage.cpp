#include <windows.h>
#include <commctrl.h>

#include <array>

#include "mainwindow/MainWindowIds.h"
#include "mainwindow/Pages.h"
#include "platform/Appearance.h"

namespace hc {

namespace {
using namespace mainids;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr int kPanicTransparencySteps = 10;

const std::array<ControlRow, 18> kOptions = {{
    {WC_BUTTONW, L"Empty the Recycle Bin", cbRecycle, kCheck | WS_GROUP, 12, 12, 420, 22},
    {WC_BUTTONW, L"Clear recently accessed documents list", cbRecent, kCheck, 12, 38, 420, 22},
    {WC_BUTTONW, L"Clear temporary files", cbClearTemp, kCheck, 12, 64, 420, 22},
    {WC_BUTTONW, L"Delete Internet history", cbHistory, kCheck, 12, 90, 420, 22},
    {WC_BUTTONW, L"Mute the audio", cbMuteAudio, kCheck, 12, 116, 420, 22},
    {WC_BUTTONW, L"Require passwords to unhide windows", cbPassword, kCheck, 12, 142, 330, 22},
    {WC_BUTTONW, L"Manage...", PassBtn, kPush, 350, 140, 110, 26},
    {WC_BUTTONW, L"Always hide the Panic Button", HidePanic_f, kCheck, 12, 170, 420, 22},
    {WC_BUTTONW, L"Always hide the application System Tray icon", cbHideIcon, kCheck, 12, 196, 520, 22},
    {WC_BUTTONW, L"Start silent (disables the splash screen and minimizes to system tray)", cbSilent, kCheck, 12, 222,
     720, 22},
    {WC_STATICW, L"Theme", lblVclStyle, SS_LEFT, 12, 258, 200, 18, FontKind::Heading},
    {WC_STATICW, L"Application appearance", lblAppearance, SS_LEFT, 12, 286, 250, 18},
    {WC_COMBOBOXW, L"", cbxVclStyles, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 270, 282, 240, 300},
    {WC_STATICW, L"Panic button transparency", lblTransparency, SS_LEFT, 12, 322, 250, 18},
    {TRACKBAR_CLASSW, L"", jvTransparency, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 262, 316, 256, 30},
    {WC_STATICW, L"0%", lblTransparencyLow, SS_LEFT, 270, 348, 60, 18},
    {WC_STATICW, L"100%", lblTransparencyHigh, SS_RIGHT, 450, 348, 60, 18},
    {WC_BUTTONW, L"Show", Button2, kPush, 540, 316, 110, 28},
}};

// Which settings field each check box edits.
bool* CheckedField(Settings& s, int id) {
    switch (id) {
        case cbRecycle:
            return &s.cbRecycle;
        case cbRecent:
            return &s.cbRecent;
        case cbClearTemp:
            return &s.cbClearTemp;
        case cbHistory:
            return &s.cbHistory;
        case cbMuteAudio:
            return &s.cbMuteAudio;
        case cbPassword:
            return &s.cbPassword;
        case HidePanic_f:
            return &s.fHidePanicBtn;  // HidePanic_fClick
        case cbHideIcon:
            return &s.cbHideIcon;
        case cbSilent:
            return &s.cbSilent;
        default:
            return nullptr;
    }
}
}  // namespace

OptionsPage::OptionsPage(Settings& settings, std::function<void()> PassBtnClick, std::function<bool()> passwordTicked,
                         std::function<void(const std::wstring&)> cbxVclStylesChange)
    : settings_(settings),
      passBtnClick_(std::move(PassBtnClick)),
      passwordTicked_(std::move(passwordTicked)),
      themeChosen_(std::move(cbxVclStylesChange)) {}

std::span<const ControlRow> OptionsPage::Controls() const { return kOptions; }

void OptionsPage::OnCreated() {
    for (const Palette& palette : Palettes())
        SendMessageW(Item(cbxVclStyles), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(palette.name));
    SendMessageW(Item(jvTransparency), TBM_SETRANGE, TRUE, MAKELPARAM(0, kPanicTransparencySteps));
    Refresh();
}

void OptionsPage::Refresh() {
    for (const ControlRow& row : kOptions)
        if (bool* field = CheckedField(settings_, row.id)) SetChecked(row.id, *field);
    const LRESULT theme = SendMessageW(Item(cbxVclStyles), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(themes_->Current().name));
    SendMessageW(Item(cbxVclStyles), CB_SETCURSEL, static_cast<WPARAM>(theme), 0);
    SendMessageW(Item(jvTransparency), TBM_SETPOS, TRUE, settings_.jvTransparency);
    ShowPanicState(panic_ && panic_->IsShown());
}

void OptionsPage::SetPanicButton(PanicButtonView* panic) {
    panic_ = panic;
    if (panic_) panic_->OnShownChanged([this](bool shown) { ShowPanicState(shown); });
    ShowPanicState(panic_ && panic_->IsShown());
}

void OptionsPage::ShowPanicState(bool shown) {
    if (hwnd) SetWindowTextW(Item(Button2), shown ? L"Hide" : L"Show");
}

void OptionsPage::OnCommand(int id, int code) {
    if (id == cbxVclStyles) {
        if (code != CBN_SELCHANGE || !themeChosen_) return;
        const HWND box = Item(cbxVclStyles);
        const LRESULT chosen = SendMessageW(box, CB_GETCURSEL, 0, 0);
        if (chosen == CB_ERR) return;
        std::wstring name(static_cast<size_t>(SendMessageW(box, CB_GETLBTEXTLEN, chosen, 0)) + 1, L'\0');
        name.resize(
            static_cast<size_t>(SendMessageW(box, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(name.data()))));
        themeChosen_(name);
        return;
    }
    if (code != BN_CLICKED) return;
    if (bool* field = CheckedField(settings_, id)) {
        // A password box ticked over no password would protect nothing: "Set password" first, or no tick.
        if (id == cbPassword && Checked(id) && passwordTicked_ && !passwordTicked_()) SetChecked(id, false);
        *field = Checked(id);
        return;
    }
    if (id == PassBtn && passBtnClick_) passBtnClick_();
    if (id == Button2 && panic_) {  // Button2Click
        if (panic_->IsShown())
            panic_->Close();
        else
            panic_->Show();
    }
}

void OptionsPage::OnScroll(HWND control) {  // jvTransparencyChange
    if (control != Item(jvTransparency)) return;
    settings_.jvTransparency = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
    if (panic_) panic_->SetTransparency(settings_.jvTransparency);
}

}  // namespace hc
