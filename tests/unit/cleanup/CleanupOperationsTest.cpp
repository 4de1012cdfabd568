#include <gtest/gtest.h>

#include <stdexcept>

#include "Doubles.h"
#include "cleanup/CleanupOperations.h"

namespace hc {
namespace {

using hctest::CallLog;

// One sound output whose state outlives the controls handed out for it.
struct FakeOutput {
    bool present = true;
    bool muted = false;
    int opened = 0;
    int changes = 0;
};

class FakeControl final : public MuteControl {
public:
    explicit FakeControl(FakeOutput& output) : output_(output) {}
    std::optional<bool> IsMuted() override { return output_.muted; }
    bool SetMuted(bool muted) override {
        ++output_.changes;
        output_.muted = muted;
        return true;
    }

private:
    FakeOutput& output_;
};

class FakeOutputs final : public AudioOutputs {
public:
    explicit FakeOutputs(FakeOutput& output) : output_(output) {}
    std::unique_ptr<MuteControl> OpenDefaultOutput() override {
        ++output_.opened;
        return output_.present ? std::make_unique<FakeControl>(output_) : nullptr;
    }

private:
    FakeOutput& output_;
};

class RecordingServices final : public CleanupServices {
public:
    explicit RecordingServices(CallLog& log) : log_(log) {}
    void EmptyRecycleBin() override { log_.push_back("EmptyRecycleBin"); }
    void ClearInternetCache() override { log_.push_back("ClearInternetCache"); }
    void ClearInternetHistory() override {
        log_.push_back("ClearInternetHistory");
        if (historyFails) throw std::runtime_error("no history store");
    }
    std::wstring RecentFolder() override { return L"C:\\users\\me\\Recent"; }
    void DeleteFolderContents(const std::wstring& folder) override {
        log_.push_back("DeleteFolderContents " + std::string(folder.begin(), folder.end()));
    }
    bool historyFails = false;

private:
    CallLog& log_;
};

class CleanupOperationsTest : public ::testing::Test {
protected:
    CallLog log_;
    FakeOutput output_;
    FakeOutputs outputs_{output_};
    RecordingServices services_{log_};
    Settings settings_;
    CleanupOperations cleanup_{settings_, outputs_, services_};

    void TickAll(bool ticked) {
        settings_.cbMuteAudio = settings_.cbRecycle = settings_.cbClearTemp = settings_.cbHistory = settings_.cbRecent =
            ticked;
    }
};

TEST_F(CleanupOperationsTest, NothingTickedCallsNothing) {
    TickAll(false);
    cleanup_.DoOptions();
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(output_.opened, 0);
}

TEST_F(CleanupOperationsTest, StepsRunInTheirOrderAndAFailingHistoryStoreStopsNoneOfThem) {
    TickAll(true);
    services_.historyFails = true;
    EXPECT_NO_THROW(cleanup_.DoOptions());
    EXPECT_EQ(log_, (CallLog{"EmptyRecycleBin", "ClearInternetCache", "ClearInternetHistory",
                             "DeleteFolderContents C:\\users\\me\\Recent"}));
    EXPECT_TRUE(output_.muted);
}

TEST_F(CleanupOperationsTest, RestoreUnmutesOnceWhatThePanicMuted) {
    cleanup_.SetAudioMute(true);
    ASSERT_TRUE(output_.muted);
    // The engine may call once per window shown; only the first takes the mute back.
    cleanup_.SetAudioMute(false);
    output_.muted = true;  // the user mutes again after the restore
    cleanup_.SetAudioMute(false);
    EXPECT_TRUE(output_.muted);
    EXPECT_EQ(output_.changes, 2);
}

TEST_F(CleanupOperationsTest, AMuteTheUserHadSetSurvivesPanicAndRestore) {
    output_.muted = true;
    cleanup_.SetAudioMute(true);
    cleanup_.SetAudioMute(false);
    EXPECT_TRUE(output_.muted);
    EXPECT_EQ(output_.changes, 0);
}

TEST_F(CleanupOperationsTest, WithoutASoundDeviceMuteAndRestoreDoNothing) {
    output_.present = false;
    EXPECT_NO_THROW(cleanup_.SetAudioMute(true));
    EXPECT_NO_THROW(cleanup_.SetAudioMute(false));
    EXPECT_EQ(output_.changes, 0);
}

}  // namespace
}  // namespace hc
