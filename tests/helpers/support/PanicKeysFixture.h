#pragma once
#include <gtest/gtest.h>

#include "Doubles.h"
#include "engine/Dispatcher.h"

namespace hctest {

// The engine behind the panic keys, over two windows of another program with Notes in front; the steps of the
// action that touch the icon, the Panic Button and the audio are off unless a test turns them on.
class PanicKeysFixture : public ::testing::Test {
protected:
    static constexpr UINT kHide = 0xC001;
    static constexpr UINT kUnhide = 0xC002;

    // The real process system unless the test asks for processes_.
    explicit PanicKeysFixture(bool fakeProcesses = false)
        : rig_{windows_, log_, nullptr, fakeProcesses ? &processes_ : nullptr} {}

    CallLog log_;
    FakeWindowSystem windows_{log_};
    FakeProcessSystem processes_;
    EngineRig rig_;
    HWND mail_ = nullptr;
    HWND notes_ = nullptr;

    void SetUp() override {
        QuietAction();
        mail_ = windows_.Add(L"Mail");
        notes_ = windows_.Add(L"Notes");
        windows_.foreground = notes_;
    }
    void QuietAction() {
        rig_.dispatcher.SetAtoms(kHide, kUnhide);
        rig_.settings.cbHideIcon = false;
        rig_.settings.fHidePanicBtn = false;
        rig_.settings.cbMuteAudio = false;
    }
    void PressHide() { rig_.dispatcher.GetHotKeys(hc::Sender::None, kHide); }
    void PressUnhide() { rig_.dispatcher.GetHotKeys(hc::Sender::None, kUnhide); }
};

}  // namespace hctest
