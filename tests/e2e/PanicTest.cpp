#include <gtest/gtest.h>

#include <algorithm>

#include "HcProcess.h"
#include "TestSupport.h"

namespace hctest {
namespace {

// The visible windows whose titles contain the text.
std::vector<HWND> WindowsTitled(const std::wstring& part) {
    std::vector<HWND> found;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t title[256] = {};
        GetWindowTextW(w, title, 256);
        if (IsWindowVisible(w) && std::wstring(title).find(part) != std::wstring::npos) found.push_back(w);
    }
    return found;
}

class PanicTest : public ::testing::Test {
protected:
    ScopedCleanKey key_;
    HcProcess hc_;
    WindowHelper helper_;

    void StartHc() {
        ASSERT_TRUE(hc_.Start());
        ASSERT_TRUE(hc_.WaitUntilStarted());
    }
};

TEST_F(PanicTest, CtrlSpaceHidesEveryWindowAndCtrlBackspaceShowsThemInTheOrderOfHiding) {
    key_.SetString(L"StartUp", L"Tray", L"1");
    const auto windows = helper_.OpenMany(L"Private", 5);
    StartHc();
    // Hiding walks the windows in enumeration order; restoring must show them in that order.
    std::vector<HWND> enumerated;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (std::find(windows.begin(), windows.end(), w) != windows.end()) enumerated.push_back(w);
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows); }));
    PressKeys({VK_CONTROL}, VK_BACK);
    ASSERT_TRUE(WaitUntil([&] { return AllShown(windows); }));
    std::vector<long> shownAt;
    for (HWND w : enumerated) shownAt.push_back(helper_.ShownSequence(w));
    EXPECT_TRUE(std::is_sorted(shownAt.begin(), shownAt.end()));
}

TEST_F(PanicTest, CustomKeysWorkAfterARestartAndCtrlSpaceDoesNothing) {
    key_.SetString(L"StartUp", L"Defaults", L"0");
    key_.SetString(L"StartUp", L"HkHide", L"Ctrl+H");
    key_.SetString(L"StartUp", L"hkUnHide", L"Ctrl+U");
    key_.SetString(L"StartUp", L"Tray", L"1");
    const auto windows = helper_.OpenMany(L"Budget", 3);
    StartHc();
    hc_.Stop();
    StartHc();
    PressKeys({VK_CONTROL}, VK_SPACE);
    EXPECT_FALSE(WaitUntil([&] { return !AllShown(windows); }, 500));  // nothing changes
    PressKeys({VK_CONTROL}, 'H');
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows); }));
    PressKeys({VK_CONTROL}, 'U');
    EXPECT_TRUE(WaitUntil([&] { return AllShown(windows); }));
}

TEST_F(PanicTest, ADecoyDocumentOpensAfterTheWindowsAreHiddenAndStaysVisible) {
    const std::wstring decoy = MakeTempFolder(L"hc_decoy") + L"\\Meeting notes.txt";
    HANDLE file = CreateFileW(decoy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    key_.SetString(L"StartUp", L"UseDecoy", L"1");
    key_.SetString(L"StartUp", L"Decoy", decoy);
    key_.SetString(L"StartUp", L"Tray", L"1");
    const auto windows = helper_.OpenMany(L"Secret", 3);
    // Decoys outlive the test otherwise, and a running one keeps the test runner waiting on its output.
    struct EndDecoys {
        ~EndDecoys() {
            for (HWND w : WindowsTitled(L"Meeting notes")) EndProcessOf(w);
        }
    } endDecoys;
    StartHc();
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows); }));
    ASSERT_TRUE(WaitUntil([&] { return WindowsTitled(L"Meeting notes").size() == 1; }, 10000));
    HWND decoyWindow = WindowsTitled(L"Meeting notes").front();
    // The next panic hides the user's windows again but never the decoy.
    PressKeys({VK_CONTROL}, VK_BACK);
    ASSERT_TRUE(WaitUntil([&] { return AllShown(windows); }));
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows); }));
    // Every panic opens the decoy anew; the copy opened before is not hidden.
    EXPECT_TRUE(WaitUntil([&] { return WindowsTitled(L"Meeting notes").size() == 2; }, 10000));
    EXPECT_TRUE(IsWindowVisible(decoyWindow));
}

}  // namespace
}  // namespace hctest
