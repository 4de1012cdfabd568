#include <gtest/gtest.h>

#include "update/UpdateWorkflow.h"

namespace hc {
namespace {

using State = UpdateWorkflow::State;
using Failure = UpdateWorkflow::Failure;
using Outcome = UpdateWorkflow::Outcome;

TEST(UpdateWorkflow, ACheckThatFindsANewerBuildLeadsThroughDownloadAndVerificationToTheInstaller) {
    UpdateWorkflow flow(false);
    EXPECT_EQ(flow.Current(), State::Idle);
    EXPECT_FALSE(flow.CanDownload());
    EXPECT_FALSE(flow.StartDownload());
    ASSERT_TRUE(flow.StartCheck());
    EXPECT_EQ(flow.Current(), State::Checking);
    EXPECT_FALSE(flow.CanCheck());
    EXPECT_FALSE(flow.StartCheck()) << "one check at a time";
    flow.CheckEnded(true, true);
    EXPECT_EQ(flow.Current(), State::Newer);
    EXPECT_FALSE(flow.CanCheck()) << "the download is the next step";
    ASSERT_TRUE(flow.StartDownload());
    EXPECT_TRUE(flow.Busy());
    flow.DownloadEnded(true);
    EXPECT_EQ(flow.Current(), State::Verifying);
    flow.InstallEnded(Outcome::Started);
    EXPECT_EQ(flow.Current(), State::Installing);
    EXPECT_FALSE(flow.CanCheck());
    EXPECT_FALSE(flow.CanDownload());
}

TEST(UpdateWorkflow, FailuresAreKeptApartAndEachCanBeRetried) {
    UpdateWorkflow flow(false);
    flow.StartCheck();
    flow.CheckEnded(false, true);
    EXPECT_EQ(flow.Current(), State::Failed);
    EXPECT_EQ(flow.LastFailure(), Failure::Check);
    EXPECT_FALSE(flow.CanDownload()) << "a failed check leaves nothing to download";
    ASSERT_TRUE(flow.StartCheck());
    flow.CheckEnded(true, false);
    EXPECT_EQ(flow.Current(), State::Idle);
    EXPECT_TRUE(flow.CanCheck()) << "nothing newer: the user may look again";
    flow.StartCheck();
    flow.CheckEnded(true, true);

    for (auto [ending, failure] :
         {std::pair{Outcome::NotVerified, Failure::NotVerified}, std::pair{Outcome::NotStarted, Failure::NotStarted}}) {
        ASSERT_TRUE(flow.StartDownload());
        flow.DownloadEnded(true);
        flow.InstallEnded(ending);
        EXPECT_EQ(flow.Current(), State::Failed);
        EXPECT_EQ(flow.LastFailure(), failure);
        EXPECT_TRUE(flow.CanDownload());
    }
    ASSERT_TRUE(flow.StartDownload());
    flow.DownloadEnded(false);
    EXPECT_EQ(flow.LastFailure(), Failure::Download);
    EXPECT_TRUE(flow.CanDownload());
    // Results that arrive in the wrong state change nothing.
    flow.InstallEnded(Outcome::Started);
    flow.CheckEnded(true, false);
    EXPECT_EQ(flow.Current(), State::Failed);
}

TEST(UpdateWorkflow, AWindowOpenedAfterAnEarlierCheckOffersItsDownload) {
    UpdateWorkflow flow(true);
    EXPECT_EQ(flow.Current(), State::Newer);
    EXPECT_TRUE(flow.CanDownload());
    EXPECT_TRUE(flow.CanCheck());
}

TEST(UpdateWorkflow, ACloseDuringWorkWaitsForItsEndAndStartsNothingNew) {
    UpdateWorkflow idle(false);
    EXPECT_TRUE(idle.RequestClose());

    UpdateWorkflow flow(true);
    flow.StartDownload();
    EXPECT_FALSE(flow.RequestClose());
    EXPECT_FALSE(flow.WorkStopped());
    EXPECT_FALSE(flow.CanCheck());
    flow.DownloadEnded(true);  // the file arrived before the cancel: it is still being verified
    EXPECT_EQ(flow.Current(), State::Verifying);
    EXPECT_FALSE(flow.WorkStopped());
    flow.DownloadEnded(false);  // a late report changes nothing
    EXPECT_EQ(flow.Current(), State::Verifying);
    flow.InstallAbandoned();  // the cancel was seen before the start
    EXPECT_EQ(flow.LastFailure(), Failure::Download);
    EXPECT_TRUE(flow.WorkStopped());
    EXPECT_FALSE(flow.StartDownload());

    // An installer that started before the cancel was seen still ends the program.
    UpdateWorkflow late(true);
    late.StartDownload();
    late.RequestClose();
    late.DownloadEnded(true);
    late.InstallEnded(Outcome::Started);
    EXPECT_EQ(late.Current(), State::Installing);
}

}  // namespace
}  // namespace hc
