#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "TestSupport.h"
#include "ui/Window.h"

namespace hc {
namespace {

constexpr UINT kMsgFail = WM_APP + 7;

// A window whose handler fails the way a bug would.
class FailingWindow : public Window<FailingWindow> {
public:
    FailingWindow() {
        RegisterWindowClass(L"HcFailingWindow");
        CreateWindowFor(0, L"HcFailingWindow", L"Failing", WS_POPUP, 0, 0, 0, 0);
    }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == kMsgFail) throw std::runtime_error("The list of hidden windows could not be read.");
        return Default(msg, wp, lp);
    }
};

TEST(UnhandledFailure, OneBoxSaysWhatFailedAndWhatTheProgramDidAndTheProgramGoesOn) {
    FailingWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    std::vector<std::wstring> boxes;
    std::thread answerer([&] {
        // Every box that comes within the time, answered as the user would.
        for (;;) {
            HWND box = hctest::WaitForDialog(L"HushCloak Privacy 6.0", boxes.empty() ? 5000 : 1000);
            if (!box) return;
            boxes.push_back(hctest::MessageBoxText(box));
            hctest::ClickButton(box, IDOK);
            hctest::WaitUntil([&] { return !IsWindow(box); });
        }
    });
    SendMessageW(window.Handle(), kMsgFail, 0, 0);
    answerer.join();
    EXPECT_EQ(boxes, std::vector<std::wstring>{L"The list of hidden windows could not be read.\n\n"
                                               L"Hushcloak Privacy goes on running. Windows it has hidden stay "
                                               L"hidden until you unhide them."});
    EXPECT_TRUE(IsWindow(window.Handle()));
}

}  // namespace
}  // namespace hc
