#include <gtest/gtest.h>

#include "engine/Journal.h"
#include "engine/WindowRules.h"

namespace hc {
namespace {

constexpr DWORD kOwn = 7;

WindowFacts Window(std::wstring title) {
    WindowFacts facts;
    facts.title = std::move(title);
    facts.className = L"Notepad";
    facts.visible = true;
    facts.hasCaption = true;
    facts.processId = 42;
    return facts;
}

TEST(WindowRules, ListOnlyWhatTheUserSeesAsAnotherProgramsWindow) {
    EXPECT_TRUE(IsListedWindow(Window(L"Letter"), kOwn));
    WindowFacts cloaked = Window(L"On another desktop");
    cloaked.cloaked = true;
    WindowFacts palette = Window(L"Colours");
    palette.toolWindow = true;
    palette.hasCaption = false;
    WindowFacts ours = Window(L"Hushcloak Privacy 6.0");
    ours.processId = kOwn;
    WindowFacts hidden = Window(L"Draft");
    hidden.visible = false;
    for (const WindowFacts& facts : {cloaked, palette, ours, hidden, Window(L"")})
        EXPECT_FALSE(IsListedWindow(facts, kOwn)) << std::string(facts.title.begin(), facts.title.end());
    WindowFacts captionedTool = Window(L"Find");
    captionedTool.toolWindow = true;
    EXPECT_TRUE(IsListedWindow(captionedTool, kOwn));
}

TEST(WindowRules, TheShellIsKnownByClassAndTheDesktopAlsoByTitle) {
    for (const wchar_t* shell :
         {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"__winex11_standalone_tray"}) {
        WindowFacts facts = Window(L"Taskbar");
        facts.className = shell;
        EXPECT_TRUE(IsShellWindow(facts));
        EXPECT_FALSE(IsListedWindow(facts, kOwn));
    }
    EXPECT_TRUE(IsShellWindow(Window(L"pROGRAM mANAGER")));
    EXPECT_FALSE(IsShellWindow(Window(L"Program Manager 2")));
}

TEST(WindowRules, UnlistedOwnedWindowsGoWithTheirOwner) {
    WindowFacts popup = Window(L"");
    popup.owner = reinterpret_cast<HWND>(0x10);
    EXPECT_TRUE(IsOwnedPopup(popup, kOwn));
    WindowFacts saveDialog = Window(L"Save As");  // listed on its own
    saveDialog.owner = popup.owner;
    EXPECT_FALSE(IsOwnedPopup(saveDialog, kOwn));
    WindowFacts free = Window(L"");
    EXPECT_FALSE(IsOwnedPopup(free, kOwn));
    popup.processId = kOwn;
    EXPECT_FALSE(IsOwnedPopup(popup, kOwn));
}

TEST(WindowRules, TitlesThatARestoreLeavesHiddenIgnoreCase) {
    EXPECT_TRUE(RestoreLeavesHidden(L"cache manager"));
    EXPECT_FALSE(RestoreLeavesHidden(L"HushCloak Privacy"));  // ours are known by their process
}

JournalRecord Sample() {
    return JournalRecord{0x01D9'0000'1234'5678ull,
                         {{0x80001234u, 4242, 133'000'000'000'000'000ull}, {0x00010002u, 17, 1}}};
}

TEST(Journal, RoundTripsAndRefusesEveryTruncationGarbageAndOtherVersions) {
    const auto bytes = EncodeJournal(Sample());
    EXPECT_EQ(DecodeJournal(bytes), Sample());
    EXPECT_EQ(DecodeJournal(EncodeJournal(JournalRecord{5, {}})), (JournalRecord{5, {}}));
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(DecodeJournal(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + length))) << length;
    for (size_t at = 0; at < bytes.size(); ++at) {
        auto flipped = bytes;
        flipped[at] ^= 0x20;
        EXPECT_FALSE(DecodeJournal(flipped)) << at;
    }
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(DecodeJournal(longer));
}

}  // namespace
}  // namespace hc
