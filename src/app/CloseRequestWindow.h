#pragma once
#include <functional>

#include "ui/Window.h"

namespace hc {

// A hidden window that lets the setup program ask a running HC.exe to end the way its tray exit does, so the
// hidden windows come back (through the password when one is required) before files are replaced.
// WM_CLOSE sent to it returns 1 when the program is on its way out and 0 when the exit was refused.
class CloseRequestWindow : public Window<CloseRequestWindow> {
public:
    static constexpr wchar_t kClassName[] = L"HushcloakPrivacyCloseRequest";

    // onCloseRequested runs the exit path and says whether the program will end.
    explicit CloseRequestWindow(std::function<bool()> onCloseRequested);
    ~CloseRequestWindow() override;

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    std::function<bool()> onCloseRequested_;
};

}  // namespace hc
