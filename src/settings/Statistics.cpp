#include "settings/Statistics.h"

#include "platform/Files.h"
#include "settings/Conversions.h"
#include "settings/Options.h"

namespace hc {

namespace {
constexpr wchar_t kRunsKey[] = L"NumberOfApplicationRuns";
constexpr wchar_t kClicksKey[] = L"NumberOfDontPanicButtonClicks";
}  // namespace

int TStatistics::SaveStatisticsToFile(const std::wstring& StatisticsPath) const {
    const bool written = files::WriteLines(
        StatisticsPath, {std::wstring(kRunsKey) + L"=" + IntToText(NumberOfApplicationRuns),
                         std::wstring(kClicksKey) + L"=" + IntToText(NumberOfDontPanicButtonClicks)});
    return written ? 0 : 1;
}

int TStatistics::LoadStatisticsFromFile(const std::wstring& StatisticsPath) {
    const auto lines = files::ReadLines(StatisticsPath);
    if (!lines) return 1;
    for (const std::wstring& line : *lines) {
        for (auto [key, field] : {std::pair{kRunsKey, &NumberOfApplicationRuns},
                                  std::pair{kClicksKey, &NumberOfDontPanicButtonClicks}}) {
            if (line.find(key) == std::wstring::npos) continue;
            const auto value = ParseInt64Value(line, key);
            if (!value) return 1;
            *field = *value;
        }
    }
    return 0;
}

}  // namespace hc
