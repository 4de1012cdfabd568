#include <windows.h>
#include <commctrl.h>

#include <array>

#include "mainwindow/MainWindowIds.h"
#include "mainwindow/Pages.h"
#include "ui/ResourceIds.h"

namespace hc {

namespace {
using namespace mainids;
constexpr int kLogoSize = 64;

const std::array<ControlRow, 7> kAbout = {{
    {WC_STATICW, L"", imgLogo, SS_ICON | SS_REALSIZECONTROL, 24, 24, kLogoSize, kLogoSize},
    {WC_STATICW, L"Hushcloak Privacy 6", lblAboutTitle, SS_LEFT, 112, 30, 500, 28, FontKind::Title},
    {WC_STATICW, L"Web:", lblWeb, SS_LEFT, 112, 84, 400, 18, FontKind::Bold},
    {WC_STATICW, L"www.hushcloak.com", lblWebAddress, SS_LEFT, 112, 104, 400, 18},
    {WC_STATICW, L"Help and support:", lblSupport, SS_LEFT, 112, 138, 400, 18, FontKind::Bold},
    {WC_STATICW, L"support@hushcloak.com", lblSupportAddress, SS_LEFT, 112, 158, 400, 18},
    {WC_BUTTONW, L"Check for updates...", btnUpdate, BS_PUSHBUTTON | WS_TABSTOP, 112, 198, 200, 28},
}};
}  // namespace

std::span<const ControlRow> AboutPage::Controls() const { return kAbout; }

void AboutPage::OnCreated() {
    logo_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                              kLogoSize, kLogoSize, LR_DEFAULTCOLOR)));
    if (logo_) SendMessageW(Item(imgLogo), STM_SETICON, reinterpret_cast<WPARAM>(logo_.get()), 0);
}

void AboutPage::OnCommand(int id, int code) {
    if (id == btnUpdate && code == BN_CLICKED && checkForUpdates_) checkForUpdates_();  // btnUpdateClick
}

}  // namespace hc
