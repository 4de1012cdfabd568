#pragma once
#include <functional>

#include "engine/Collaborators.h"
#include "ui/Views.h"

namespace hc {

// The program's own parts as the engine reaches them. A window that does not exist (yet) is simply not there to
// close or show.
class WindowShell final : public ProgramShell {
public:
    WindowShell(std::function<HWND()> controller, std::function<HWND()> hotkeyDialog)
        : controller_(std::move(controller)), hotkeyDialog_(std::move(hotkeyDialog)) {}

    void SetMainWindow(MainWindowView* view) { main_ = view; }
    void SetTray(TrayView* view) { tray_ = view; }
    void SetPanicButton(PanicButtonView* view) { panic_ = view; }
    void SetAbout(AboutView* view) { about_ = view; }

    bool IsMainWindowVisible() override { return main_ && main_->IsVisible(); }
    void CloseMainWindow() override {
        if (main_) main_->Close();
    }
    void CloseAboutWindow() override {
        if (about_) about_->CloseIfOpen();
    }
    void SetTrayIconActive(bool active) override {
        if (tray_) tray_->SetIconActive(active);
    }
    HWND PanicButtonWindow() override { return panic_ ? panic_->Window() : nullptr; }
    void ClosePanicButton() override {
        if (panic_) panic_->Close();
    }
    HWND LastActiveHandle() override { return panic_ ? panic_->LastActiveHandle() : nullptr; }
    HWND ControllerWindow() override { return controller_(); }
    HWND HotkeyDialogWindow() override { return hotkeyDialog_(); }
    void DetachIdleHandler() override {
        if (panic_) panic_->DetachIdleHandler();
    }
    void AttachIdleHandler() override {
        if (panic_) panic_->AttachIdleHandler();
    }

private:
    std::function<HWND()> controller_;
    std::function<HWND()> hotkeyDialog_;
    MainWindowView* main_ = nullptr;
    TrayView* tray_ = nullptr;
    PanicButtonView* panic_ = nullptr;
    AboutView* about_ = nullptr;
};

}  // namespace hc
