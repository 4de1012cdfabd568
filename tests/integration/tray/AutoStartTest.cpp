#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "tray/AutoStart.h"

namespace hc {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::optional<std::wstring> RunValue(HKEY root) {
    const UniqueHkey key = registry::OpenKey(root, kRunKey);
    return key ? registry::ReadString(key.get(), L"HushCloak") : std::nullopt;
}

// The real Run keys of the test prefix, left without our value whatever happens.
class AutoStartTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            if (UniqueHkey key = registry::OpenKey(root, kRunKey, KEY_ALL_ACCESS))
                registry::DeleteValue(key.get(), L"HushCloak");
    }
    Win32RunKeys keys_;
    AutoStartEntry entry_{keys_, L"C:\\Program Files\\Hushcloak Privacy\\HC.exe"};
};

TEST_F(AutoStartTest, AddsTheQuotedPathMachineWideAndRemovesEveryEntryOfOurs) {
    EXPECT_FALSE(entry_.Exists());
    ASSERT_TRUE(entry_.Add());  // Wine runs every program as an administrator
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), L"\"C:\\Program Files\\Hushcloak Privacy\\HC.exe\"");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), std::nullopt);
    EXPECT_TRUE(entry_.Exists());

    // An entry left in the user's key (an earlier start without rights) counts as ours and goes too.
    ASSERT_TRUE(keys_.Write(RunScope::User, L"HushCloak", L"\"C:\\old\\HC.exe\""));
    EXPECT_TRUE(entry_.Remove());
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), std::nullopt);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), std::nullopt);
    EXPECT_FALSE(entry_.Exists());
    EXPECT_TRUE(entry_.Remove());  // nothing left to remove is no failure
}

}  // namespace
}  // namespace hc
