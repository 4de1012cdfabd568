#include <gtest/gtest.h>

#include <algorithm>

#include "HcProcess.h"
#include "TestSupport.h"
#include "engine/Journal.h"
#include "platform/Processes.h"

namespace hctest {
namespace {

constexpr wchar_t kRecovery[] = L"HushCloak\\Recovery";


std::optional<std::vector<std::uint8_t>> StoredValue(const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRecovery, 0, KEY_READ, &key)) return std::nullopt;
    DWORD size = 0;
    std::optional<std::vector<std::uint8_t>> value;
    if (!RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size)) {
        value.emplace(size);
        RegQueryValueExW(key, name, nullptr, nullptr, value->data(), &size);
    }
    RegCloseKey(key);
    return value;
}

void StoreJournal(const std::vector<std::uint8_t>& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRecovery, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"HiddenWindows", 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

class RecoveryTest : public ::testing::Test {
protected:
    ScopedCleanKey key_;
    HcProcess hc_;
    WindowHelper helper_;

    void SetUp() override { key_.SetString(L"StartUp", L"Tray", L"1"); }
};

TEST_F(RecoveryTest, WindowsHiddenWhenTheProgramWasKilledComeBackAtTheNextStart) {
    const auto windows = helper_.OpenMany(L"Unsaved work", 5);
    ASSERT_TRUE(hc_.Start());
    ASSERT_TRUE(hc_.WaitUntilStarted());
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return std::none_of(windows.begin(), windows.end(), IsWindowVisible); }));
    TerminateProcess(hc_.Process(), 1);
    ASSERT_EQ(WaitForSingleObject(hc_.Process(), 5000), WAIT_OBJECT_0);
    // One of them is closed while nobody watches over it: the next start simply skips it.
    PostMessageW(windows[2], WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(windows[2]); }));

    ASSERT_TRUE(hc_.Start());
    std::vector<HWND> left(windows);
    left.erase(left.begin() + 2);
    EXPECT_TRUE(WaitUntil([&] { return AllShown(left); }, 8000));
    EXPECT_TRUE(hc_.WaitUntilStarted());
    EXPECT_TRUE(hc_.IsRunning());
    EXPECT_FALSE(StoredValue(L"HiddenWindows").has_value());
}

TEST_F(RecoveryTest, AClockCorrectionLosesNothingAndNothingIsDeletedThatCouldNotBeUsed) {
    HWND window = helper_.Open(L"Hidden before the clock was corrected");
    ShowWindow(window, SW_HIDE);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    hc::Win32ProcessSystem processes;
    constexpr std::uint64_t kHour = 3600ull * 10'000'000;
    const hc::JournalEntry live{static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)), processId,
                                processes.Info(processId).creationTime};
    const hc::JournalEntry gone{0x7FFF0000u, 4, 1};  // a window of a process that no longer runs
    // The boot time the killed run computed, an hour before the one this start computes.
    StoreJournal(hc::EncodeJournal(hc::JournalRecord{hc::processes::BootTime() - kHour, {live, gone}}));
    ASSERT_TRUE(hc_.Start());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 8000));
    EXPECT_TRUE(hc_.WaitUntilStarted());
    EXPECT_TRUE(WaitUntil([&] { return !StoredValue(L"HiddenWindows"); }));
    // What matched no window is kept aside, not deleted.
    const auto aside = StoredValue(L"HiddenWindows.unmatched");
    ASSERT_TRUE(aside.has_value());
    const auto record = hc::DecodeJournal(*aside);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->entries, std::vector<hc::JournalEntry>{gone});
    hc_.Stop();

    const std::vector<std::uint8_t> garbage{0x13, 0x37, 0xC0, 0xFF, 0xEE, 0x42, 0x00, 0x99, 0x7F};
    StoreJournal(garbage);
    ASSERT_TRUE(hc_.Start());
    EXPECT_TRUE(hc_.WaitUntilStarted());
    EXPECT_TRUE(WaitUntil([&] { return StoredValue(L"HiddenWindows.unreadable") == garbage; }));
    EXPECT_FALSE(StoredValue(L"HiddenWindows").has_value());
    EXPECT_TRUE(hc_.IsRunning());
}

}  // namespace
}  // namespace hctest
