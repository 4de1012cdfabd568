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
    ShellDecoyLauncher launcher_;
    hctest::EngineRig rig_{windows_, log_, &launcher_};
    std::wstring document_ = hctest::MakeTempFolder(L"hc_decoy") + L"\\Holiday plans.txt";

    void SetUp() override {
        rig_.dispatcher.SetAtoms(1, 2);
        CloseHandle(CreateFileW(document_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        rig_.settings.UseDecoy = true;
        rig_.settings.DecoyApp = document_;
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
    rig_.dispatcher.GetHotKeys(Sender::None, 1);
    HWND decoy = nullptr;
    ASSERT_TRUE(hctest::WaitUntil([&] { return (decoy = DecoyWindow()) != nullptr; }, 10000));
    EXPECT_FALSE(IsWindowVisible(work));

    rig_.visible.DoGetWindows();
    EXPECT_EQ(rig_.visible.DecoyAppHandle(), decoy);
    for (const VisibleWindow& entry : rig_.visible.Entries()) EXPECT_NE(entry.handle, decoy);

    ShowWindow(decoy, SW_MINIMIZE);
    EXPECT_TRUE(rig_.engine.DoDecoyApp());
    EXPECT_TRUE(hctest::WaitUntil([&] { return GetForegroundWindow() == decoy; }));

    hctest::EndProcessOf(decoy);
    ASSERT_TRUE(hctest::WaitUntil([&] { return !IsWindow(decoy); }));
    EXPECT_FALSE(rig_.engine.DoDecoyApp());  // a decoy that went away is forgotten
    EXPECT_EQ(rig_.visible.DecoyAppHandle(), nullptr);
}

TEST_F(DecoyTest, AFailedLaunchLeavesNoDecoy) {
    rig_.settings.DecoyApp = L"C:\\no such folder\\missing.exe";
    rig_.dispatcher.GetHotKeys(Sender::None, 1);
    EXPECT_EQ(rig_.visible.DecoyAppHandle(), nullptr);
    EXPECT_FALSE(rig_.engine.DoDecoyApp());
    rig_.engine.RestoreWindows();
}

}  // namespace
}  // namespace hc
