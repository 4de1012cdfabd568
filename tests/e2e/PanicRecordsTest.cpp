#include <gtest/gtest.h>

#include <algorithm>

#include "HcFixture.h"
#include "TrayDriver.h"
#include "engine/Journal.h"
#include "update/UpdateWindow.h"

namespace hctest {
namespace {

std::optional<hc::JournalRecord> StoredJournal() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"HushCloak\\Recovery", 0, KEY_READ, &key)) return std::nullopt;
    DWORD size = 0;
    std::vector<std::uint8_t> bytes;
    if (!RegQueryValueExW(key, L"HiddenWindows", nullptr, nullptr, nullptr, &size)) {
        bytes.resize(size);
        RegQueryValueExW(key, L"HiddenWindows", nullptr, nullptr, bytes.data(), &size);
    }
    RegCloseKey(key);
    return hc::DecodeJournal(bytes);
}

using PanicRecordsTest = HcFixture;

TEST_F(PanicRecordsTest, RestoreShowsTheWindowsInTheOrderOfHidingAndTheFrontOneLast) {
    const auto windows = helper_.OpenMany(L"Chapter", 3);
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    ASSERT_TRUE(WaitUntil([&] { return helper_.BringToFront(windows[1]) && GetForegroundWindow() == windows[1]; }));
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows); }));
    // The record lists them as they were hidden: the front window last.
    const auto record = StoredJournal();
    ASSERT_TRUE(record.has_value());
    std::vector<std::uint32_t> listed;
    for (const hc::JournalEntry& entry : record->entries)
        if (std::find(windows.begin(), windows.end(), reinterpret_cast<HWND>(std::uintptr_t{entry.handle})) !=
            windows.end())
            listed.push_back(entry.handle);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed.back(), static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(windows[1])));

    PressKeys({VK_CONTROL}, VK_BACK);
    ASSERT_TRUE(WaitUntil([&] { return AllShown(windows); }));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == windows[1]; }));
    const long front = helper_.ShownSequence(windows[1]);
    EXPECT_GT(front, helper_.ShownSequence(windows[0]));
    EXPECT_GT(front, helper_.ShownSequence(windows[2]));
}

TEST_F(PanicRecordsTest, EveryWindowOfTheProgramLeavesTheScreenAndTheUpdateWindowComesBack) {
    key_.SetString(L"StartUp", L"HideIcon", L"0");  // the tray menu is the way to the exit question
    HWND letter = helper_.Open(L"Letter");
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    ASSERT_NE(OpenTrayMenu(), nullptr);
    PressSequence({VK_DOWN, VK_DOWN, VK_RETURN});  // "Check for updates..."
    HWND update = WaitForDialog(hc::TUpdate_f::kCaption);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(update) != FALSE; }));

    PressKeys({VK_CONTROL}, VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(letter) && !IsWindowVisible(update); }));
    EXPECT_TRUE(IsWindow(update));  // hidden with its work, not closed

    // The exit question is a question: the panic answers it as Cancel, and the program stays.
    ASSERT_NE(OpenTrayMenu(), nullptr);
    PressSequence({VK_UP, VK_RETURN});
    HWND question = WaitForDialog(L"HushCloak");
    ASSERT_NE(question, nullptr);
    PressKeys({VK_CONTROL}, VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_TRUE(hc_.IsRunning());
    EXPECT_FALSE(IsWindowVisible(letter));

    PressKeys({VK_CONTROL}, VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(letter) && IsWindowVisible(update); }));
    ClickButton(update, hc::TUpdate_f::kIdBtnClose);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(update); }));
}

TEST_F(PanicRecordsTest, StoredKeysEqualToTheDefaultsStartWithoutABoxAndWork) {
    key_.SetString(L"StartUp", L"Defaults", L"0");
    key_.SetString(L"StartUp", L"HkHide", L"CTRL+SPACE");
    const auto windows = helper_.OpenMany(L"Notes", 2);
    ASSERT_NO_FATAL_FAILURE(StartInTray());
    PressKeys({VK_CONTROL}, VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return AllHidden(windows); }));
    PressKeys({VK_CONTROL}, VK_BACK);
    ASSERT_TRUE(WaitUntil([&] { return AllShown(windows); }));
    // A box of the start would still be waiting for its answer now.
    EXPECT_EQ(VisibleWindowOfHc(L"Error"), nullptr);
    EXPECT_TRUE(hc_.IsRunning());
}

}  // namespace
}  // namespace hctest
