#include <gtest/gtest.h>

#include "TestSupport.h"
#include "engine/Journal.h"
#include "platform/Files.h"
#include "platform/Processes.h"
#include "platform/WindowSystem.h"
#include "settings/Conversions.h"

namespace hc {
namespace {

constexpr wchar_t kTestKey[] = L"HushCloakJournalTest";

// The journal's two places for real: the registry of the test prefix and a file in a folder of the test's own.
class JournalTest : public ::testing::Test {
protected:
    hctest::ScopedCleanKey key_{kTestKey};  // holds the registry record, in Recovery below it
    hctest::WindowHelper helper_;
    Win32WindowSystem windows_;
    Win32ProcessSystem processes_;
    std::wstring file_ = hctest::MakeTempFolder(L"journal") + L"\\Local\\HushCloak\\HiddenWindows.journal";
    // A root the registry refuses every write under, as a full or locked hive would. Wine grants every right to
    // every key, so the refusal cannot be staged with rights; a handle that names no key is refused the same way.
    const HKEY refusingRoot_ = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x7FFF0));
    JournalPlaces Places(HKEY root) const {
        return JournalPlaces{root, root == HKEY_CURRENT_USER ? std::wstring(kTestKey) + L"\\Recovery" : L"Recovery",
                             file_};
    }
    HiddenWindow Hidden(HWND window) {
        const DWORD processId = windows_.ProcessId(window);
        return HiddenWindow{window, L"", L"", processId, processes_.Info(processId).creationTime};
    }
    bool InRegistry() {
        UniqueHkey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kTestKey) + L"\\Recovery").c_str(), 0, KEY_READ,
                          key.put()) != ERROR_SUCCESS)
            return false;
        return RegQueryValueExW(key.get(), kJournalValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
};

TEST_F(JournalTest, WhereTheRegistryRefusesAFileKeepsTheRecordAndTheNextSaveGoesBackToTheRegistry) {
    HWND window = helper_.Open(L"Tax return");
    ShowWindow(window, SW_HIDE);
    ASSERT_TRUE(hctest::WaitUntil([&] { return !IsWindowVisible(window); }));

    RegistryJournal refused(processes::BootTime(), Places(refusingRoot_));
    ASSERT_TRUE(refused.Save({Hidden(window)}));
    EXPECT_FALSE(InRegistry());
    EXPECT_TRUE(files::Exists(file_));
    EXPECT_FALSE(files::Exists(file_ + L".new"));  // written under another name, then renamed

    // The next start reads both places; the file alone names the window.
    RegistryJournal next(processes::BootTime(), Places(HKEY_CURRENT_USER));
    const HiddenWindowList taken = next.TakeOver(windows_, processes_);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].handle, window);
    EXPECT_EQ(taken[0].title, L"Tax return");

    // The registry takes the record again: the file must not outlive it.
    ASSERT_TRUE(next.Save(taken));
    EXPECT_TRUE(InRegistry());
    EXPECT_FALSE(files::Exists(file_));
    ASSERT_TRUE(next.Save({}));
    EXPECT_FALSE(InRegistry());
}

TEST_F(JournalTest, AFileThatCannotBeReadIsMovedAsideAndNothingIsTakenFromIt) {
    ASSERT_TRUE(files::ReplaceWithBytes(file_, {1, 2, 3}));
    RegistryJournal journal(processes::BootTime(), Places(HKEY_CURRENT_USER));
    EXPECT_TRUE(journal.TakeOver(windows_, processes_).empty());
    EXPECT_FALSE(files::Exists(file_));
    EXPECT_EQ(files::ReadBytes(file_ + kUnreadableSuffix, 16), (std::vector<std::uint8_t>{1, 2, 3}));
}

}  // namespace
}  // namespace hc
