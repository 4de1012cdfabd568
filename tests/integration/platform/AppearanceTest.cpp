#include <gtest/gtest.h>

#include "platform/Appearance.h"

namespace hc {
namespace {

TEST(ExtractFileIcon, GivesBothSizesFromAFileThatHoldsTheIconAndNothingOtherwise) {
    const auto icons = appearance::ExtractFileIcon(L"%SystemRoot%\\system32\\shell32.dll", 3);
    EXPECT_TRUE(icons.large);
    EXPECT_TRUE(icons.small);
    EXPECT_FALSE(appearance::ExtractFileIcon(L"C:\\no such folder\\none.ico", 0).large);
    EXPECT_FALSE(appearance::ExtractFileIcon(L"%SystemRoot%\\system32\\shell32.dll", 100000).large);
    EXPECT_FALSE(appearance::ExtractFileIcon(L"", 0).large);
}

}  // namespace
}  // namespace hc
