#pragma once
#include <memory>

#include "app/ControllerWindow.h"
#include "engine/VisibleWindowList.h"
#include "platform/Handles.h"
#include "platform/WindowSystem.h"
#include "settings/Configuration.h"
#include "settings/Settings.h"

namespace hc {

class TSplash_f;

// The composition root: creates every long-lived object once, in the start-up order, and runs the program.
class Program {
public:
    Program();
    ~Program();
    // The whole run: single-instance check, start-up, message loop. Returns the exit code.
    int Run();

private:
    bool StartUp();
    void CreateWindows();
    void FinishSplash(std::unique_ptr<TSplash_f> splash, DWORD shownAt);

    UniqueHandle instanceMutex_;
    Win32WindowSystem windowSystem_;
    Configuration configuration_;
    Settings settings_;
    std::wstring helpFile_;
    std::unique_ptr<TForm2> controller_;
    std::unique_ptr<VisibleWindowList> visibleWindows_;
};

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace hc
