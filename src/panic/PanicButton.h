#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ForegroundTracker.h"
#include "platform/Handles.h"
#include "ui/Views.h"
#include "ui/Window.h"

namespace hc {

class PrivacyDispatcher;
class WindowEngine;
struct Settings;

// The Panic Button: a borderless window above all others whose whole surface is one push button. A click runs the
// privacy action as the hide hotkey does; its context menu moves, renames and hides it, restores the hidden
// windows, opens the main window or ends the program. Closing it only hides it.
class TPanic_f final : public Window<TPanic_f>, public PanicButtonView {
public:
    static constexpr wchar_t kClassName[] = L"TPanic_f";
    static constexpr int kClientWidth = 369;
    static constexpr int kClientHeight = 80;

    // Control and menu ids, stable for tests.
    static constexpr int kIdBtnPanic = 100;
    static constexpr int kIdPbCaption = 201;
    static constexpr int kIdMoveBTn = 202;
    static constexpr int kIdOpenmainwindow1 = 203;
    static constexpr int kIdRestorehiddenwindows1 = 204;
    static constexpr int kIdClose1 = 205;
    static constexpr int kIdCloseHushcloakPrivacy1 = 206;

    // Creates and shows the button at the stored position with the stored caption. mainWindow may be null (then
    // "Open main window" does nothing); exitCommand is the program's exit command.
    TPanic_f(Settings& settings, PrivacyDispatcher& dispatcher, WindowEngine& engine, MainWindowView* mainWindow,
             std::function<void()> exitCommand);
    ~TPanic_f() override;

    HWND Window() override { return hwnd; }
    bool IsShown() override;
    void Show() override;
    void Close() override;
    void SetTransparency(int position) override;
    void OnShownChanged(std::function<void(bool shown)> listener) override;
    HWND LastActiveHandle() override { return lastActive_; }
    void DetachIdleHandler() override { ++detached_; }
    void AttachIdleHandler() override {
        if (detached_ > 0) --detached_;
    }

    HMENU PopupMenu1() const { return menu_.get(); }

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormClose();
    void OnCommand(int id, int code);
    void btnPanicClick();
    void pbCaptionClick();
    void MoveBTnClick();
    void Openmainwindow1Click();
    void Restorehiddenwindows1Click();
    void ShowPopupMenu(LPARAM screenPoint);
    // Records the window as the last active one when it belongs to another program and the action needs it.
    void NoteForeground(HWND window);
    void RememberPosition();

    using UniqueMenu = Unique<HMENU, &DestroyMenu>;

    Settings& settings_;
    PrivacyDispatcher& dispatcher_;
    WindowEngine& engine_;
    MainWindowView* mainWindow_;
    std::function<void()> exitCommand_;
    std::vector<std::function<void(bool)>> shownListeners_;
    ForegroundTracker tracker_;
    UniqueMenu menu_;
    UniqueFont font_;
    HWND button_ = nullptr;
    HWND lastActive_ = nullptr;
    int detached_ = 0;
    bool moveTicked_ = false;
};

}  // namespace hc
