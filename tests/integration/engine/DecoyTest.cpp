#include <gtest/gtest.h>

#include "Doubles.h"
#include "TestSupport.h"
#include "engine/Dispatcher.h"
#include "engine/ShellDecoyLauncher.h"
#include "engine/WindowEngine.h"
#include "settings/Settings.h"

namespace hc {
namespace {

class DecoyTest : public ::testing::Test {
protected:
    hctest::CallLog log_;
    Win32WindowSystem windows_;
    hctest::RecordingShell shell_{log_};
    hctest::RecordingSwitches switches_{log_};
    hctest::RecordingCleanup cleanup_{log_};
    hctest::ScriptedPrompt prompt_{log_};
    ShellDecoyLauncher launcher_;
    Settings settings_;
    VisibleWindowList visible_{windows_, L"HushCloak Privacy 6.1"};
    WindowEngine engine_{windows_, visible_, settings_, shell_, switches_, cleanup_, prompt_};
    PrivacyDispatcher dispatcher_{engine_, settings_, shell_, cleanup_, prompt_, launcher_};
    std::wstring document_ = hctest::MakeTempFolder(L"hc_decoy") + L"\\Holiday plans.txt";

    void SetUp() override {
        dispatcher_.SetAtoms(1, 2);
        CloseHandle(CreateFileW(document_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        settings_.UseDecoy = true;
        settings_.DecoyApp = document_;
    }
    HWND DecoyWindow() {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            wchar_t title[256] = {};
            GetWindowTextW(w, title, 256);
            if (IsWindowVisible(w) && std::wstring(title).find(L"Holiday plans") != std::wstring::npos) return w;
        }
        return nullptr;
    }
};

TEST_F(DecoyTest, TheLaunchedDocumentsWindowIsKnownLeftOutOfTheListAndBroughtToTheFront) {
    hctest::WindowHelper helper;
    HWND work = helper.Open(L"Work in progress");
    dispatcher_.GetHotKeys(Sender::None, 1);
    HWND decoy = nullptr;
    ASSERT_TRUE(hctest::WaitUntil([&] { return (decoy = DecoyWindow()) != nullptr; }, 10000));
    EXPECT_FALSE(IsWindowVisible(work));

    visible_.DoGetWindows();
    EXPECT_EQ(visible_.DecoyAppHandle(), decoy);
    for (const VisibleWindow& entry : visible_.Entries()) EXPECT_NE(entry.handle, decoy);

    ShowWindow(decoy, SW_MINIMIZE);
    EXPECT_TRUE(engine_.DoDecoyApp());
    EXPECT_TRUE(hctest::WaitUntil([&] { return GetForegroundWindow() == decoy; }));

    hctest::EndProcessOf(decoy);
    ASSERT_TRUE(hctest::WaitUntil([&] { return !IsWindow(decoy); }));
    EXPECT_FALSE(engine_.DoDecoyApp());  // a decoy that went away is forgotten
    EXPECT_EQ(visible_.DecoyAppHandle(), nullptr);
}

TEST_F(DecoyTest, AFailedLaunchLeavesNoDecoy) {
    settings_.DecoyApp = L"C:\\no such folder\\missing.exe";
    dispatcher_.GetHotKeys(Sender::None, 1);
    EXPECT_EQ(visible_.DecoyAppHandle(), nullptr);
    EXPECT_FALSE(engine_.DoDecoyApp());
    engine_.RestoreWindows();
}

}  // namespace
}  // namespace hc
