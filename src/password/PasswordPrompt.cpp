#include "password/PasswordPrompt.h"

#include <commctrl.h>

#include "settings/Configuration.h"
#include "ui/DialogTemplate.h"

namespace hc {

namespace {
constexpr wchar_t kWrongPasswordCaption[] = L"Hush-Cloak";
constexpr wchar_t kHintCaption[] = L"Marrowby for Windows";
constexpr wchar_t kHintMissingText[] = L"Your password hint is not defined.";

const ControlRow kPromptControls[] = {
    {WC_STATICW, kEnterPasswordLabel, TPassword_f::kIdLabel1, SS_LEFT, 8, 8, 164, 9},
    {WC_EDITW, L"", TPassword_f::kIdPassWord, WS_BORDER | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, 8, 19, 164, 13},
    {WC_BUTTONW, L"Ok", TPassword_f::kIdButton1, BS_DEFPUSHBUTTON | WS_TABSTOP, 8, 40, 50, 15},
    {WC_BUTTONW, L"Cancel", TPassword_f::kIdCancelBtn, BS_PUSHBUTTON | WS_TABSTOP, 65, 40, 50, 15},
    {WC_BUTTONW, L"Help", TPassword_f::kIdButton2, BS_PUSHBUTTON | WS_TABSTOP, 122, 40, 50, 15},
};

HWND CreatePrompt(HWND owner, LPARAM self) {
    // The title bar's help button needs a system menu and no minimize or maximize box.
    const DialogTemplate layout(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP, 180, 62,
                                kPromptTitle, kPromptControls);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), layout.get(), owner, &DialogBinding<TPassword_f>::Proc,
                                      self);
}
}  // namespace

TPassword_f::TPassword_f(HWND owner, UnhidePassword& password, const PasswordStore& store, Messages& messages)
    : owner_(owner), password_(password), store_(store), messages_(messages) {
    hwnd_ = CreatePrompt(owner, reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return;
    const HWND box = GetDlgItem(hwnd_, kIdPassWord);
    SendMessageW(box, EM_SETPASSWORDCHAR, L'*', 0);
    SetWindowSubclass(box, &PassWordProc, 1, reinterpret_cast<DWORD_PTR>(this));
    CentreOnScreen(hwnd_);
}

TPassword_f::~TPassword_f() {
    if (!hwnd_) return;
    // Still alive: take the subclass and the object out before the window goes.
    RemoveWindowSubclass(GetDlgItem(hwnd_, kIdPassWord), &PassWordProc, 1);
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
}

void TPassword_f::SetLabel(const std::wstring& text) { SetDlgItemTextW(hwnd_, kIdLabel1, text.c_str()); }

int TPassword_f::ShowModal() {
    if (!hwnd_) return IDCANCEL;
    modalResult_ = 0;
    accepted_ = false;
    SetFocus(GetDlgItem(hwnd_, kIdPassWord));
    RunModal(hwnd_, owner_, modalResult_, [this](const MSG& msg) {
        // F1 is taken here, before the dialog manager sees the key.
        if (msg.message != WM_KEYDOWN || msg.wParam != VK_F1) return false;
        if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
        HelpBtnClick();
        return true;
    });
    return modalResult_ == IDOK ? IDOK : IDCANCEL;
}

void TPassword_f::Cancel() {
    if (!hwnd_) return;
    Close(IDCANCEL);
    // A box of the prompt's own (the error or the hint) would outlast it on the screen.
    CloseOwnedWindows(hwnd_);
    ShowWindow(hwnd_, SW_HIDE);
}

void TPassword_f::BringToFront() {
    if (hwnd_) SetForegroundWindow(hwnd_);
}

SecretText TPassword_f::TypedText() const { return SecretWindowText(GetDlgItem(hwnd_, kIdPassWord)); }

LRESULT CALLBACK TPassword_f::PassWordProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR self) noexcept {
    // The hint first, then the box's own edit menu.
    if (msg == WM_CONTEXTMENU) {
        try {
            reinterpret_cast<TPassword_f*>(self)->HelpBtnClick();
        } catch (...) {
            ReportUnhandledFailure(nullptr);
        }
    }
    return DefSubclassProc(edit, msg, wp, lp);
}

INT_PTR TPassword_f::OnMessage(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED) return FALSE;
            // IDCANCEL (Escape) has no button and closes nothing.
            if (LOWORD(wp) == kIdButton1) OKBtnClick();
            if (LOWORD(wp) == kIdCancelBtn) Close(IDCANCEL);
            if (LOWORD(wp) == kIdButton2) HelpBtnClick();
            return TRUE;
        case WM_CLOSE:
            Close(IDCANCEL);
            return TRUE;
        case WM_NCDESTROY:  // with its owner, when the program ends during the question
            hwnd_ = nullptr;
            return FALSE;
        case WM_CONTEXTMENU:  // the surface has no menu of its own: the hint only
        case WM_HELP:
            HelpBtnClick();
            return TRUE;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) != SC_CONTEXTHELP) return FALSE;
            HelpBtnClick();  // the title bar's help button asks for the hint at once
            return TRUE;
        default:
            return FALSE;
    }
}

void TPassword_f::OKBtnClick() { Close(IDOK); }

void TPassword_f::Close(int result) {
    if (FormCloseQuery(result)) modalResult_ = result;
}

bool TPassword_f::FormCloseQuery(int result) {
    // This prompt's own mode decides, not whichever prompt is shared at the moment.
    if (Tag == kVerifyTag || result != IDOK) return true;
    if (password_.Check(TypedText().View())) {
        accepted_ = true;
        SetDlgItemTextW(hwnd_, kIdPassWord, L"");
        return true;
    }
    messages_.Box(hwnd_, kWrongPasswordText, kWrongPasswordCaption, MB_OK | MB_ICONERROR);
    return false;
}

void TPassword_f::HelpBtnClick() {
    const auto hint = store_.ReadHint();
    if (!hint) {
        messages_.Box(hwnd_, kHintMissingText, kApplicationTitle, MB_OK);
        return;
    }
    messages_.Box(hwnd_, L"Your password hint is \"" + *hint + L"\"", kHintCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace hc
