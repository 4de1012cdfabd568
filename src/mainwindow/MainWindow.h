#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "mainwindow/Page.h"
#include "ui/Theme.h"
#include "ui/Views.h"
#include "ui/Window.h"

namespace hc {

class WindowEngine;
struct Settings;
class OptionsPage;
class VisiblePage;
class HiddenPage;
class SetupPage;
class WelcomePage;
class NavPane;

// What the main window's buttons start in other parts of the program; an empty one does nothing.
struct MainWindowHooks {
    std::function<void()> btnEditHotKEyClick;  // the hotkey dialog, modal
    std::function<void()> PassBtnClick;        // the set-password flow
    std::function<bool()> cbPasswordTicked;    // may "Require passwords..." stay ticked (a password is set)?
    std::function<void()> btnUpdateClick;      // the controller's "Check for updates..."
    std::function<void(bool byUser)> Save;     // the settings save at every close; byUser: the user closed it
    // The password gate in front of the Hidden page's "Show selected window" and "Show all windows"; empty: none.
    std::function<bool(HWND promptOwner)> MayShowHidden;
};

// The main window: banner, toolbar, the slide-out navigation pane, six pages and the bottom bar. Closing it
// only hides it. It has no taskbar button.
class TMain_f final : public Window<TMain_f>, public MainWindowView {
public:
    static constexpr wchar_t kClassName[] = L"TMain_f";
    // The page indexes; a navigation button's Tag is the index of the page it shows.
    enum PageIndex { kOptions = 0, kVisible = 1, kHidden = 2, kSetup = 3, kAbout = 4, kWelcome = 5, kPageCount };
    static constexpr int kPaneOpen = 300;
    static constexpr int kPaneClosed = 50;
    static constexpr int kPaneStep = 50;

    TMain_f(HWND owner, Settings& settings, WindowEngine& engine, Themes& themes, MainWindowHooks hooks,
            std::wstring welcomeFile);
    ~TMain_f() override;

    // MainWindowView: "Open main window" shows the Welcome page.
    bool IsVisible() override;
    void Close() override { FormClose(); }
    void Open() override;
    // Shows the window at start-up, with no page chosen yet.
    void ShowAtStart();
    void SetPanicButton(PanicButtonView* panic);
    // Tab, Shift+Tab, Enter, Escape and the arrow keys for the message loop; true when the message was handled.
    bool PreTranslate(MSG& msg);

    void actOptionsExecute(int tag);
    void imgMenuClick();
    int ActivePage() const { return active_; }

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    // byUser: the user closed it, not a panic or the exit, so a failed save may be said.
    void FormClose(bool byUser = false);
    void FormActivate();
    void cbxVclStylesChange(const std::wstring& name);
    void ShowWindowInFront();
    void RefreshPages();
    RECT PageArea() const;  // where the page on show goes, beside the pane
    void Layout();
    void Paint();
    void OnCommand(int id, int code);
    void OnSlideTimer();
    void MakeFonts();
    void OnDpiChanged(UINT dpi, const RECT* suggested);
    SIZE OuterSize(int clientWidth, int clientHeight) const;

    Settings& settings_;
    WindowEngine& engine_;
    Themes& themes_;
    MainWindowHooks hooks_;
    UINT dpi_ = 96;
    Fonts fonts_;
    std::unique_ptr<NavPane> pane_;
    int paneWidth_ = kPaneOpen;  // pixels at 96 DPI
    bool paneOpening_ = true;
    bool centred_ = false;
    int active_ = -1;
    OptionsPage* options_ = nullptr;
    VisiblePage* visible_ = nullptr;
    HiddenPage* hidden_ = nullptr;
    SetupPage* setup_ = nullptr;
    WelcomePage* welcome_ = nullptr;
    std::array<std::unique_ptr<Page>, kPageCount> pages_;
    UniqueBrush toolbarBrush_;
    UniqueFont bannerFont_;
    HICON icon_ = nullptr;
    appearance::IconPair chosenIcon_;  // from "IconFile", when it names an icon
};

}  // namespace hc
