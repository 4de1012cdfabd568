#include "hotkeys/HotkeyDialog.h"

#include <commctrl.h>

#include <vector>

#include "settings/Configuration.h"
#include "ui/DialogTemplate.h"
#include "ui/Window.h"

namespace hc {

namespace {
constexpr COLORREF kLinkColour = RGB(0, 0, 0xCC);

HFONT UnderlinedCopy(HFONT font) {
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof(description), &description)) return nullptr;
    description.lfUnderline = TRUE;
    return CreateFontIndirectW(&description);
}

const ControlRow kHotkeyControls[] = {
    {WC_STATICW, L"Select the keys for Hushcloak Privacy", THotKey_f::kIdHeading, SS_LEFT, 10, 8, 166, 10},
    {WC_STATICW, L"Hide or Close ", THotKey_f::kIdHideCaption, SS_LEFT, 10, 24, 166, 9},
    {HOTKEY_CLASSW, L"", THotKey_f::kIdHkHide, WS_BORDER | WS_TABSTOP, 10, 35, 116, 13},
    {WC_STATICW, L"Test it!!", THotKey_f::kIdLabel4, SS_LEFT | SS_NOTIFY, 134, 37, 42, 10},
    {WC_STATICW, L"Unhide windows", THotKey_f::kIdUnhideCaption, SS_LEFT, 10, 55, 166, 9},
    {HOTKEY_CLASSW, L"", THotKey_f::kIdHkUnHide, WS_BORDER | WS_TABSTOP, 10, 66, 116, 13},
    {WC_STATICW, L"Test it!!", THotKey_f::kIdLabel5, SS_LEFT | SS_NOTIFY, 134, 68, 42, 10},
    {WC_BUTTONW, L"Apply", THotKey_f::kIdApply, BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 92, 52, 15},
    {WC_BUTTONW, L"Default", THotKey_f::kIdDefault, BS_PUSHBUTTON | WS_TABSTOP, 67, 92, 52, 15},
    {WC_BUTTONW, L"Close", THotKey_f::kIdClose, BS_PUSHBUTTON | WS_TABSTOP, 124, 92, 52, 15},
};
}  // namespace

HWND THotKey_f::CreateDialogWindow() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_HOTKEY_CLASS;
    InitCommonControlsEx(&controls);

    // A tool window: no taskbar button while it shows; only the close box on its fixed frame.
    const DialogTemplate layout(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, 186, 116,
                                kHotkeyDialogTitle, kHotkeyControls);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), layout.get(), nullptr, &DialogProcFor<THotKey_f>, 0);
}

THotKey_f::THotKey_f(Settings& settings, Messages& messages, HotkeyService& hotkeys,
                     std::function<void(Sender)> onHotkey, HotkeyAssignment::StandAside defaultsStandAside)
    : window_(CreateDialogWindow()),
      jvAppHkHide_(hotkeys, window_.get()),
      jvAppHkUnHide_(hotkeys, window_.get()),
      assignment_(settings, messages, jvAppHkHide_, jvAppHkUnHide_, std::move(onHotkey),
                  std::move(defaultsStandAside)) {
    const HWND dialog = window_.get();
    if (!dialog) return;  // no window to own the hotkeys: registering them would send presses nowhere
    for (int id : {kIdHkHide, kIdHkUnHide})
        SendDlgItemMessageW(dialog, id, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL, 0));
    ShowKeys(kIdHkHide, kInitialHideKeys);
    ShowKeys(kIdHkUnHide, kInitialUnhideKeys);
    linkFont_.reset(UnderlinedCopy(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0))));
    if (linkFont_)
        for (int id : {kIdLabel4, kIdLabel5})
            SendDlgItemMessageW(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
    CentreOnScreen(dialog);
    // Messages reach the object only from here on, when every member exists.
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(this));

    if (const auto stored = assignment_.KeysToRestore()) {
        // The fields have the last word on what a stored text means.
        ShowKeys(kIdHkHide, stored->hide);
        ShowKeys(kIdHkUnHide, stored->unhide);
        assignment_.Restore(HotkeyPair{Keys(kIdHkHide), Keys(kIdHkUnHide)});
    }
}

THotKey_f::~THotKey_f() {
    if (window_) SetWindowLongPtrW(window_.get(), DWLP_USER, 0);
}

int THotKey_f::ShowModal(HWND owner) {
    const HWND dialog = window_.get();
    if (!dialog) return 0;
    if (showing_) {
        SetForegroundWindow(dialog);
        return 0;
    }
    showing_ = true;
    modalResult_ = 0;
    assignment_.Shown();
    SetWindowLongPtrW(dialog, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    RunModal(dialog, owner, modalResult_);
    if (IsWindow(dialog)) {
        // An owned window dies with its owner; this one must outlive any owner it was shown for.
        SetWindowLongPtrW(dialog, GWLP_HWNDPARENT, 0);
    }
    showing_ = false;
    return modalResult_;
}

void THotKey_f::EndModal(int result) {
    modalResult_ = result;
    if (!showing_) ShowWindow(window_.get(), SW_HIDE);
}

INT_PTR THotKey_f::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return TRUE;
        case WM_CLOSE:
            EndModal(IDCANCEL);
            return TRUE;
        case WM_HOTKEY:
            return jvAppHkHide_.HandleHotkeyMessage(wp) || jvAppHkUnHide_.HandleHotkeyMessage(wp);
        case WM_SETCURSOR:
            if (!IsLink(reinterpret_cast<HWND>(wp))) return FALSE;
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            SetWindowLongPtrW(window_.get(), DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (!IsLink(reinterpret_cast<HWND>(lp))) return FALSE;
            SetTextColor(reinterpret_cast<HDC>(wp), kLinkColour);
            SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        default:
            return FALSE;
    }
}

void THotKey_f::OnCommand(int id, int code) {
    if (code == EN_CHANGE) {
        if (id == kIdHkHide) assignment_.HideKeysEdited();
        if (id == kIdHkUnHide) assignment_.UnhideKeysEdited();
        return;
    }
    if (code != BN_CLICKED) return;  // STN_CLICKED too: both are 0
    switch (id) {
        case kIdLabel4:
            assignment_.TestHide(Keys(kIdHkHide));
            break;
        case kIdLabel5:
            assignment_.TestUnhide(Keys(kIdHkUnHide));
            break;
        case kIdDefault:
            assignment_.UseDefaults();
            EndModal(IDCANCEL);
            break;
        case kIdApply:
            if (assignment_.MayApply(HotkeyPair{Keys(kIdHkHide), Keys(kIdHkUnHide)})) EndModal(IDOK);
            break;
        case kIdClose:
            EndModal(IDCANCEL);
            break;
        default:
            break;
    }
}

bool THotKey_f::IsLink(HWND control) const {
    const HWND dialog = window_.get();
    return control && (control == GetDlgItem(dialog, kIdLabel4) || control == GetDlgItem(dialog, kIdLabel5));
}

KeyCombination THotKey_f::Keys(int id) const {
    return ControlValueToCombination(static_cast<WORD>(SendDlgItemMessageW(window_.get(), id, HKM_GETHOTKEY, 0, 0)));
}

void THotKey_f::ShowKeys(int id, KeyCombination keys) {
    SendDlgItemMessageW(window_.get(), id, HKM_SETHOTKEY, CombinationToControlValue(keys), 0);
}

}  // namespace hc
