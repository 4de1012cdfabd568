#include <gtest/gtest.h>

#include "settings/Options.h"

namespace hc {
namespace {

TEST(OptionsFile, AFreshRecordWritesTheFortyFiveLines) {
    const TOptions options(1ull << 40);
    const std::vector<std::wstring> expected = {
        L"RunAtStartup=0", L"StartInPanicMode=0", L"CheckUpdates=0", L"HidePanicButton=0",
        L"PanicButtonTransparency=5", L"PanicButtonHotkey=CTRL+P", L"PanicButtonSizeXRatio=0.810000",
        L"PanicButtonSizeYRatio=0.850000", L"PanicButtonPositionXRatio=0.190000",
        L"PanicButtonPositionYRatio=0.099000", L"DisableWebUpdateSplashScreen=0", L"CloseHideAction=1",
        L"TerminateCloseProcess=1", L"UnhideHotkey=CTRL+U", L"DisableTaskManager=0", L"MuteMasterVolume=0",
        L"DeleteRecentFiles=0", L"DeleteInternetExplorerHistory=0", L"DeleteInternetExplorerTemporaryFiles=0",
        L"DeleteRecycleBinFiles=0", L"EnableBlacklist=1", L"// BlacklistItems", L"// BlacklistItems",
        L"BlacklistKeywords=", L"BlacklistCaseSensitiveKeywords=0", L"EnableCloseSoftware1=0",
        L"CloseSoftwarePath1=", L"EnableCloseSoftware2=0", L"CloseSoftwarePath2=", L"EnableCloseSoftware3=0",
        L"CloseSoftwarePath3=", L"EnableRunSoftware1=0", L"RunSoftwarePath1=", L"OpenFilePath1=",
        L"EnableRunSoftware2=0", L"RunSoftwarePath2=", L"OpenFilePath2=", L"EnableRunSoftware3=0",
        L"RunSoftwarePath3=", L"OpenFilePath3=", L"OptimizeMemoryUsage=0", L"EnableSingleInstance=0",
        L"RunAsAdministrator=0", L"ProcessPriority=2", L"ShowDonationMessage=1"};
    EXPECT_EQ(options.OptionsFileLines(), expected);
    EXPECT_EQ(expected.size(), 45u);
    EXPECT_TRUE(TOptions(536870911).GetOptimizeMemoryUsage());
    EXPECT_FALSE(TOptions(536870912).GetOptimizeMemoryUsage());
}

TEST(OptionsFile, RoundTripsRoundedRatiosItemsAndTexts) {
    TOptions saved(1ull << 40);
    saved.SetBlacklistItems({L"notepad.exe", L"C:\\Games\\a=b.exe"});
    saved.SetOpenFilePath2(L"C:\\Docs\\x=y.txt");
    saved.SetProcessPriority(-3);
    saved.SetCheckUpdates(true);
    TOptions loaded(1ull << 40);
    loaded.SetBlacklistItems({});
    ASSERT_EQ(loaded.LoadOptionsFromLines(saved.OptionsFileLines()), 0);
    EXPECT_DOUBLE_EQ(loaded.GetPanicButtonSizeXRatio(), 0.81);
    EXPECT_DOUBLE_EQ(loaded.GetPanicButtonPositionYRatio(), 0.099);
    EXPECT_EQ(loaded.GetOpenFilePath2(), L"C:\\Docs\\x=y.txt");
    EXPECT_EQ(loaded.GetProcessPriority(), -3);
    EXPECT_TRUE(loaded.GetCheckUpdates());
    EXPECT_EQ(loaded.GetBlacklistItems(), saved.GetBlacklistItems());
    // Items are appended to what the list holds.
    ASSERT_EQ(loaded.LoadOptionsFromLines(saved.OptionsFileLines()), 0);
    EXPECT_EQ(loaded.GetBlacklistItems().size(), 4u);
    // A text with a line break cannot break the file apart.
    saved.SetBlacklistKeywords(L"one\r\ntwo");
    EXPECT_EQ(saved.OptionsFileLines().size(), 47u);
    EXPECT_EQ(saved.OptionsFileLines()[25], L"BlacklistKeywords=one  two");
}

TEST(OptionsFile, LoadingStopsAtTheFirstValueThatDoesNotConvert) {
    TOptions options(1ull << 40);
    // The path holds the text of another key, whose Boolean parser then reads the path.
    EXPECT_EQ(options.LoadOptionsFromLines({L"RunAtStartup=1", L"CloseSoftwarePath1=C:\\CheckUpdates\\x.exe",
                                            L"MuteMasterVolume=1"}),
              1);
    EXPECT_TRUE(options.GetRunAtStartup());
    EXPECT_FALSE(options.GetMuteMasterVolume());

    EXPECT_EQ(options.LoadOptionsFromLines({L"HidePanicButton=True"}), 1);
    EXPECT_EQ(options.LoadOptionsFromLines({L"HidePanicButton=2", L"PanicButtonTransparency=7"}), 0);
    EXPECT_TRUE(options.GetHidePanicButton());
    EXPECT_EQ(options.GetPanicButtonTransparency(), 7);
    EXPECT_EQ(options.LoadOptionsFromLines({L"PanicButtonSizeXRatio=0,5"}), 1);

    // A block without its closing marker ends with the file: the items stay, the cut file is no success.
    EXPECT_EQ(options.LoadOptionsFromLines({L"// BlacklistItems", L"a.exe", L"b.exe"}), 1);
    EXPECT_EQ(options.GetBlacklistItems(), (std::vector<std::wstring>{L"a.exe", L"b.exe"}));
}

TEST(LineValueParsers, ReadAfterTheFirstEqualsSignOnlyWhenTheKeyOccurs) {
    EXPECT_EQ(ParseStringValue(L"Key=a=b", L"Key"), L"a=b");
    EXPECT_EQ(ParseStringValue(L"Other=a", L"Key"), L"");
    EXPECT_EQ(ParseIntegerValue(L"xKeyx", L"Key"), std::nullopt);  // the whole line is the value
    EXPECT_EQ(ParseIntegerValue(L"Other=5", L"Key"), 0);
    EXPECT_EQ(ParseInt64Value(L"Key=-9223372036854775808", L"Key"), INT64_MIN);
    EXPECT_EQ(ParseIntegerValue(L"Key=2147483648", L"Key"), std::nullopt);
    EXPECT_EQ(ParseBoolValue(L"key=1", L"Key"), false);  // case counts
    EXPECT_EQ(RatioToText(0.0), L"0.000000");
    EXPECT_EQ(RatioToText(12.34), L"12.000000");
}

}  // namespace
}  // namespace hc
