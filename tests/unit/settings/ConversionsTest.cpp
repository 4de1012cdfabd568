#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include "settings/Conversions.h"

namespace hc {
namespace {

TEST(Conversions_Booleans, AreWrittenAsOneAndZeroAndReadAsAnyNumber) {
    EXPECT_EQ(BoolToText(true), L"1");
    EXPECT_EQ(BoolToText(false), L"0");
    EXPECT_EQ(TextToBool(L"1"), true);
    EXPECT_EQ(TextToBool(L"0"), false);
    EXPECT_EQ(TextToBool(L"2"), true);
    EXPECT_EQ(TextToBool(L"-1"), true);
    EXPECT_EQ(TextToBool(L"0.5"), true);
    for (const wchar_t* rejected :
         {L"True", L"False", L"yes", L"", L" 1", L"1x", L"\u0661", L"nan", L"inf", L"infinity", L"-INF", L"NaN"})
        EXPECT_FALSE(TextToBool(rejected).has_value()) << rejected;
}

TEST(Conversions_Integers, AcceptOnlyPlainSignedDecimals) {
    EXPECT_EQ(TextToInt(L"7"), 7);
    EXPECT_EQ(TextToInt(L"-5"), -5);
    EXPECT_EQ(TextToInt(L"+3"), 3);
    EXPECT_EQ(TextToInt(L"2147483647"), 2147483647);
    EXPECT_EQ(TextToInt(L"-2147483648"), -2147483647 - 1);
    for (const wchar_t* rejected : {L"", L"-", L"+", L"2147483648", L"0x10", L"$10", L"1.0", L" 1", L"1 ", L"+-1"})
        EXPECT_FALSE(TextToInt(rejected).has_value()) << rejected;
    EXPECT_EQ(TextToInt64(L"4294967296"), 4294967296LL);
    EXPECT_EQ(IntToText(-1), L"-1");
}

TEST(Conversions_Decimals, UseAFullStopWhateverTheLocaleSays) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "German"), nullptr);  // a comma locale: the C library would write "1,5"
    char cWritten[16];
    std::snprintf(cWritten, sizeof(cWritten), "%.1f", 1.5);
    ASSERT_STREQ(cWritten, "1,5");
    EXPECT_EQ(FloatToText(1.5), L"1.5");
    EXPECT_EQ(TextToFloat(L"1.5"), 1.5);
    EXPECT_FALSE(TextToFloat(L"1,5").has_value());
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(Conversions_Handles, RoundTripTheWholeUnsignedRange) {
    for (unsigned long long value : {0x10ULL, 0x7FFFFFFFULL, 0x80000000ULL, 0xFFFFFFFEULL}) {
        // Handles of 2^31 and above are sign-extended, as the system hands them out.
        void* handle = reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32_t>(value)));
        const std::wstring text = HandleToText(handle);
        EXPECT_EQ(text, std::to_wstring(value));
        EXPECT_EQ(TextToHandle(text), handle);
    }
    EXPECT_FALSE(TextToHandle(L"-5").has_value());
    EXPECT_FALSE(TextToHandle(L"4294967296").has_value());
    EXPECT_FALSE(TextToHandle(L"abc").has_value());
}

}  // namespace
}  // namespace hc
