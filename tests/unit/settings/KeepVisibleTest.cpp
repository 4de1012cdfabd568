#include <gtest/gtest.h>

#include "settings/KeepVisible.h"

namespace hc {
namespace {

TEST(KeepVisible, MatchesTheProcessFileNameIgnoringCaseAndComparesAPathEntryByItsFileName) {
    const std::vector<std::wstring> kept = {L"Spotify.EXE", L"D:\\Tools\\clock.exe", L"C:/chat/Chat.exe"};
    EXPECT_TRUE(IsKeptVisible(kept, L"C:\\Users\\me\\AppData\\Roaming\\Spotify\\spotify.exe"));
    EXPECT_TRUE(IsKeptVisible(kept, L"C:\\Program Files\\Clock\\CLOCK.exe")) << "a path entry keeps any folder";
    EXPECT_TRUE(IsKeptVisible(kept, L"E:\\chat.exe"));
    EXPECT_FALSE(IsKeptVisible(kept, L"C:\\Spotify.exe.bak"));
    EXPECT_FALSE(IsKeptVisible(kept, L"C:\\Tools\\myclock.exe")) << "the whole file name, not a part";
    EXPECT_FALSE(IsKeptVisible(kept, L"C:\\clock.exe\\notepad.exe")) << "a folder of that name is no match";
}

TEST(KeepVisible, AnEmptyEntryAndAnUnreadableProcessNameMatchNothing) {
    EXPECT_FALSE(IsKeptVisible({L"", L"C:\\Tools\\"}, L"C:\\Tools\\notepad.exe"));
    // A process whose name could not be read gives an empty path: its windows are hidden as before.
    EXPECT_FALSE(IsKeptVisible({L"", L"notepad.exe"}, L""));
    EXPECT_FALSE(IsKeptVisible({}, L"C:\\notepad.exe"));
}

TEST(KeepVisible, AddingKeepsTheFileNameOnceAndRefusesWhatHasNone) {
    std::vector<std::wstring> kept;
    EXPECT_TRUE(AddKeptProgram(kept, L"C:\\Program Files\\Music\\Player.exe"));
    EXPECT_FALSE(AddKeptProgram(kept, L"D:\\other\\PLAYER.EXE")) << "the same program by its file name";
    EXPECT_FALSE(AddKeptProgram(kept, L""));
    EXPECT_FALSE(AddKeptProgram(kept, L"C:\\folder\\"));
    EXPECT_EQ(kept, std::vector<std::wstring>{L"Player.exe"});
    for (size_t i = kept.size(); i < kMaxKeptPrograms; ++i)
        ASSERT_TRUE(AddKeptProgram(kept, L"p" + std::to_wstring(i) + L".exe"));
    EXPECT_FALSE(AddKeptProgram(kept, L"one-too-many.exe")) << "a list that long would not load again";
}

}  // namespace
}  // namespace hc
