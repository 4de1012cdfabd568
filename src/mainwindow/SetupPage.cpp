#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>

#include "mainwindow/MainWindowIds.h"
#include "mainwindow/Pages.h"
#include "platform/Appearance.h"

namespace hc {

namespace {
using namespace mainids;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON;
constexpr DWORD kField = WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr int kActionCount = 5;

constexpr wchar_t kActionHint[] = L"Selects the HushCloak action. This is what HushCloak will do when invoked";
constexpr wchar_t kDecoyHint[] = L"The application or filename that is used as the HushCloak Decoy.";
constexpr FontKind kNormal = FontKind::Normal;

// In window order: each label right before its box, tab stops top to bottom and left to right.
const std::array<ControlRow, 18> kSetup = {{
    {WC_BUTTONW, L"Setup", HushCloak, BS_GROUPBOX, 12, 6, 720, 150, kNormal, kActionHint},
    {WC_BUTTONW, L"Hide all Applications (all windows will be hidden)", HushCloakItem0, kRadio | WS_GROUP | WS_TABSTOP,
     26, 28, 690, 22, kNormal, kActionHint},
    {WC_BUTTONW, L"Hide the active Application only (affects only the window your are using)", HushCloakItem0 + 1,
     kRadio, 26, 52, 690, 22, kNormal, kActionHint},
    {WC_BUTTONW, L"Close all Applications (all windows will be closed)", HushCloakItem0 + 2, kRadio, 26, 76, 690, 22,
     kNormal, kActionHint},
    {WC_BUTTONW, L"Close the active Application (affects only the window your are using)", HushCloakItem0 + 3, kRadio,
     26, 100, 690, 22, kNormal, kActionHint},
    {WC_BUTTONW, L"Do nothing (essentially disables the application)", HushCloakItem0 + 4, kRadio, 26, 124, 690, 22,
     kNormal, kActionHint},
    {WC_BUTTONW, L"Disable Task Manager", cbTaskManager, kCheck | WS_GROUP, 12, 164, 400, 22},
    {WC_STATICW, L"Assign keys to hide or close windows", lblHide, SS_LEFT, 12, 199, 300, 18},
    {WC_EDITW, L"", edHide, kField | ES_READONLY, 320, 195, 220, 24},
    {WC_STATICW, L"Assign hotkeys to unhide windows", lblUnHide, SS_LEFT, 12, 231, 300, 18},
    {WC_EDITW, L"", edUnHide, kField | ES_READONLY, 320, 227, 220, 24},
    {WC_BUTTONW, L"Change", btnEditHotKEy, kPush, 552, 225, 110, 28},
    {WC_BUTTONW, L"Launch an application or open a document", UseDecoy, kCheck, 12, 266, 500, 22},
    {WC_EDITW, L"", DecoyApp, kField, 12, 294, 528, 24, kNormal, kDecoyHint},
    {WC_BUTTONW, L"Browse", btnBrowse, kPush, 552, 292, 110, 28},
    {WC_STATICW, L"Programs that are never hidden", lblKeepVisible, SS_LEFT, 12, 334, 300, 18},
    {WC_LISTBOXW, L"", lbKeepVisible, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 320, 330,
     220, kFill},
    {WC_BUTTONW, L"Remove", btnRemoveKept, kPush, 552, 330, 110, 28},
}};

constexpr wchar_t kBrowseTitle[] = L"Browse for HushCloak Decoy";
constexpr wchar_t kBrowseFilter[] = L"All files|*.*|Applications|*.exe";
}  // namespace

std::span<const ControlRow> SetupPage::Controls() const { return kSetup; }

void SetupPage::Refresh() {
    refreshing_ = true;
    for (int i = 0; i < kActionCount; ++i) SetChecked(HushCloakItem0 + i, settings_.Action == i);
    SetChecked(cbTaskManager, settings_.cbTaskManager);
    SetWindowTextW(Item(edHide), settings_.edHide.c_str());
    SetWindowTextW(Item(edUnHide), settings_.edUnHide.c_str());
    SetWindowTextW(Item(DecoyApp), settings_.DecoyApp.c_str());
    // A stored tick shows even without a decoy, so the user can see it and take it away.
    SetChecked(UseDecoy, settings_.UseDecoy);
    EnableWindow(Item(UseDecoy), !settings_.DecoyApp.empty() || settings_.UseDecoy);
    ShowKeptPrograms();
    refreshing_ = false;
}

void SetupPage::ShowKeptPrograms() {
    const HWND list = Item(lbKeepVisible);
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& program : settings_.KeepVisible)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(program.c_str()));
    const auto count = static_cast<LRESULT>(settings_.KeepVisible.size());
    // The selection stays on its row, or the row before when the last one went.
    if (selected != LB_ERR && count > 0)
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(std::min(selected, count - 1)), 0);
    const bool removable = SendMessageW(list, LB_GETCURSEL, 0, 0) != LB_ERR;
    // A button about to be disabled must not keep the focus, or the keyboard loses its place.
    if (!removable && GetFocus() == Item(btnRemoveKept)) SetFocus(list);
    EnableWindow(Item(btnRemoveKept), removable);
}

void SetupPage::btnRemoveKeptClick() {
    const LRESULT row = SendMessageW(Item(lbKeepVisible), LB_GETCURSEL, 0, 0);
    if (row == LB_ERR || static_cast<size_t>(row) >= settings_.KeepVisible.size()) return;
    settings_.KeepVisible.erase(settings_.KeepVisible.begin() + row);
    ShowKeptPrograms();
}

void SetupPage::OnCommand(int id, int code) {
    if (id == DecoyApp) {
        if (code == EN_CHANGE && !refreshing_) DecoyAppChange();
        return;
    }
    if (id == lbKeepVisible) {
        if (code == LBN_SELCHANGE) EnableWindow(Item(btnRemoveKept), TRUE);
        return;
    }
    if (code != BN_CLICKED) return;
    if (id >= HushCloakItem0 && id < HushCloakItem0 + kActionCount) {
        if (Checked(id)) settings_.Action = id - HushCloakItem0;
        return;
    }
    switch (id) {
        case cbTaskManager:
            settings_.cbTaskManager = Checked(id);
            break;
        case UseDecoy:
            settings_.UseDecoy = Checked(id);
            break;
        case btnBrowse:
            btnBrowseClick();
            break;
        case btnRemoveKept:
            btnRemoveKeptClick();
            break;
        case btnEditHotKEy:  // btnEditHotKEyClick: the dialog's result is not needed, the settings tell it
            if (editHotkeys_) editHotkeys_();
            Refresh();
            break;
        default:
            break;
    }
}

void SetupPage::DecoyAppChange() {
    settings_.DecoyApp = appearance::WindowText(Item(DecoyApp));
    const bool named = !settings_.DecoyApp.empty();
    if (!named) {
        SetChecked(UseDecoy, false);
        settings_.UseDecoy = false;
    }
    EnableWindow(Item(UseDecoy), named);
}

void SetupPage::btnBrowseClick() {
    // No default extension: "*.*" would only be glued to a name typed without one.
    const auto file = appearance::AskForFileToOpen(GetAncestor(hwnd, GA_ROOT), kBrowseTitle, kBrowseFilter, L"");
    if (file) SetWindowTextW(Item(DecoyApp), file->c_str());
}

}  // namespace hc
