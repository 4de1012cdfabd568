#include <gtest/gtest.h>

#include <algorithm>

#include "HotkeyDoubles.h"
#include "PanicKeysFixture.h"
#include "tray/ExitSequence.h"

namespace hc {
namespace {

const HWND kOwner = reinterpret_cast<HWND>(0xC0);

class ExitSequenceTest : public hctest::PanicKeysFixture {
protected:
    hctest::RecordingMessages messages_;
    int saves_ = 0;
    ExitSequence exit_{messages_, rig_.engine, rig_.dispatcher.Gate(), rig_.switches, [this] {
                           log_.push_back("Save");
                           ++saves_;
                           return saveSucceeds_;
                       }};
    bool saveSucceeds_ = true;
    HWND diary_ = nullptr;

    void SetUp() override {
        PanicKeysFixture::SetUp();
        diary_ = windows_.Add(L"Diary");
    }
    void HideAll() {
        PressHide();
        ASSERT_FALSE(windows_.Visible(diary_));
        log_.clear();
    }
    size_t Count(const std::string& call) const { return std::count(log_.begin(), log_.end(), call); }
};

// The question's words and the full exit through the real window are the controller's tests; here the order.
TEST_F(ExitSequenceTest, CancelOrADeclinedPasswordKeepsTheWindowsHiddenAndExitChosenMeanwhileIsIgnored) {
    EXPECT_TRUE(exit_.MayExit(kOwner));  // nothing hidden: no question
    EXPECT_TRUE(messages_.shown.empty());
    HideAll();
    messages_.answer = IDCANCEL;
    EXPECT_FALSE(exit_.MayExit(kOwner));
    EXPECT_EQ(Count("PromptShown"), 0u);

    messages_.answer = IDOK;
    rig_.settings.cbPassword = true;
    rig_.prompt.answer = false;
    int nested = 0;
    messages_.onBox = [&] { nested += exit_.MayExit(kOwner) ? 1 : 0; };
    rig_.prompt.whileOpen = [&] { nested += exit_.MayExitForSetup(kOwner) ? 1 : 0; };
    EXPECT_FALSE(exit_.MayExit(kOwner));
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(Count("PromptShown"), 1u);
    EXPECT_FALSE(windows_.Visible(diary_));
    EXPECT_EQ(saves_, 0);

    rig_.prompt.answer = true;
    EXPECT_TRUE(exit_.MayExitForSetup(kOwner));
    EXPECT_TRUE(windows_.Visible(diary_));
}

TEST_F(ExitSequenceTest, FinishSavesAndAllowsTheTaskManagerOnceAndLeavesTheHiddenWindowsRecorded) {
    HideAll();
    rig_.switches.administrator = true;
    saveSucceeds_ = false;  // a refused save still allows the Task Manager
    const int journalWrites = rig_.journal.saves;
    exit_.Finish();
    exit_.Finish();  // the end of the session, then the close
    EXPECT_EQ(log_, (hctest::CallLog{"Save", "TaskManagerOn"}));
    EXPECT_EQ(rig_.journal.saves, journalWrites);
    EXPECT_FALSE(windows_.Visible(diary_));
    EXPECT_FALSE(exit_.MayExit(kOwner));  // the program is going already
}

}  // namespace
}  // namespace hc
