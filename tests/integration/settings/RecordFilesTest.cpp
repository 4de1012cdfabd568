#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Files.h"
#include "settings/Options.h"
#include "settings/Statistics.h"

namespace hc {
namespace {

TEST(RecordFiles, OptionsAndStatisticsSurviveTheirFiles) {
    const std::wstring folder = hctest::MakeTempFolder(L"hc_records");
    TOptions options(1ull << 40);
    options.SetPanicButtonSizeXRatio(0.811);
    ASSERT_EQ(options.SaveOptionsToFile(folder + L"\\options.cfg"), 0);
    const auto lines = files::ReadLines(folder + L"\\options.cfg");
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 45u);
    EXPECT_EQ((*lines)[6], L"PanicButtonSizeXRatio=0.810000");
    TOptions loaded(1ull << 40);
    EXPECT_EQ(loaded.LoadOptionsFromFile(folder + L"\\options.cfg"), 0);
    EXPECT_DOUBLE_EQ(loaded.GetPanicButtonSizeXRatio(), 0.81);
    loaded.SetRunAtStartup(true);
    EXPECT_EQ(loaded.LoadOptionsFromFile(folder + L"\\missing.cfg"), 1);
    EXPECT_TRUE(loaded.GetRunAtStartup());
    EXPECT_EQ(options.SaveOptionsToFile(folder + L"\\no such folder\\options.cfg"), 1);

    TStatistics statistics;
    EXPECT_EQ(statistics.GetNumberOfApplicationRuns(), 0);
    statistics.SetNumberOfApplicationRuns(4294967296LL * 3);
    statistics.SetNumberOfDontPanicButtonClicks(-7);
    ASSERT_EQ(statistics.SaveStatisticsToFile(folder + L"\\statistics.cfg"), 0);
    EXPECT_EQ(files::ReadLines(folder + L"\\statistics.cfg"),
              (std::vector<std::wstring>{L"NumberOfApplicationRuns=12884901888", L"NumberOfDontPanicButtonClicks=-7"}));
    TStatistics back;
    EXPECT_EQ(back.LoadStatisticsFromFile(folder + L"\\statistics.cfg"), 0);
    EXPECT_EQ(back.GetNumberOfApplicationRuns(), 12884901888LL);
    EXPECT_EQ(back.GetNumberOfDontPanicButtonClicks(), -7);
    EXPECT_EQ(back.LoadStatisticsFromFile(folder + L"\\missing.cfg"), 1);
    files::WriteLines(folder + L"\\bad.cfg", {L"NumberOfApplicationRuns=many"});
    EXPECT_EQ(back.LoadStatisticsFromFile(folder + L"\\bad.cfg"), 1);
}

}  // namespace
}  // namespace hc
