#include <gtest/gtest.h>

#include "TestSupport.h"

namespace hctest {

namespace {
// A failing end-to-end test leaves a picture of the screen beside the test programs.
class ScreenshotOnFailure : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& info) override {
        if (!info.result()->Failed()) return;
        const std::string name = std::string(info.test_suite_name()) + "_" + info.name();
        const std::wstring folder = BinFolder() + L"e2e-shots";
        CreateDirectoryW(folder.c_str(), nullptr);
        SaveScreenshot(folder + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp");
    }
};

const bool kListenerAdded = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
    return true;
}();
}  // namespace

}  // namespace hctest
