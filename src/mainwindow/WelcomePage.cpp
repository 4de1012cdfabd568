#include <windows.h>
#include <commctrl.h>

#include <array>

#include "mainwindow/MainWindowIds.h"
#include "mainwindow/Pages.h"
#include "mainwindow/WelcomeText.h"
#include "platform/Appearance.h"

namespace hc {

namespace {
using namespace mainids;

// The heading names the text box for a screen reader; the browser view covers both when there is one.
const std::array<ControlRow, 2> kWelcome = {{
    {WC_STATICW, L"Welcome", lblWelcome, SS_LEFT, 12, 12, 400, 18, FontKind::Heading},
    {WC_EDITW, L"", WelcomeText, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, 12, 36, kFill,
     kFill},
}};

constexpr wchar_t kPageMissing[] = L"The Welcome page could not be read: ";

std::wstring FileUrl(const std::wstring& path) {
    std::wstring url = L"file:///";
    for (wchar_t c : path) url += c == L'\\' ? L'/' : c;
    return url;
}
}  // namespace

std::span<const ControlRow> WelcomePage::Controls() const { return kWelcome; }

void WelcomePage::OnShown() {
    if (!htmlEngine_) {
        // Under Wine the browser control exists but renders nothing: then the page's text is shown instead.
        htmlEngine_ = appearance::HtmlEngineAvailable();
        if (*htmlEngine_) ShowWindow(Item(WelcomeText), SW_HIDE);
    }
    if (*htmlEngine_) {
        // A new view navigates afresh, so the file is loaded again at every showing.
        if (browser_) DestroyWindow(browser_);
        browser_ = appearance::CreateBrowserView(hwnd, WebBrowser1, FileUrl(pageFile_));
        if (browser_) {
            RECT client{};
            GetClientRect(hwnd, &client);
            SetWindowPos(browser_, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
        htmlEngine_ = false;  // no browser after all: the text it is
        ShowWindow(Item(WelcomeText), SW_SHOW);
    }
    const auto page = appearance::ReadTextFile(pageFile_);
    const std::wstring text = page ? HtmlToText(*page) : kPageMissing + pageFile_;
    SetWindowTextW(Item(WelcomeText), text.c_str());
}

void WelcomePage::LaidOut(UINT) {
    if (!browser_) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    SetWindowPos(browser_, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace hc
