#pragma once
#include <cstdint>
#include <string>

namespace hc {

// Usage counters; one record lives for the whole run.
class TStatistics {
public:
    std::int64_t GetNumberOfApplicationRuns() const { return NumberOfApplicationRuns; }
    std::int64_t GetNumberOfDontPanicButtonClicks() const { return NumberOfDontPanicButtonClicks; }
    void SetNumberOfApplicationRuns(std::int64_t value) { NumberOfApplicationRuns = value; }
    void SetNumberOfDontPanicButtonClicks(std::int64_t value) { NumberOfDontPanicButtonClicks = value; }

    // 0 on success, 1 on failure (a missing file, a value that does not convert).
    int LoadStatisticsFromFile(const std::wstring& StatisticsPath);
    int SaveStatisticsToFile(const std::wstring& StatisticsPath) const;

private:
    std::int64_t NumberOfApplicationRuns = 0;
    std::int64_t NumberOfDontPanicButtonClicks = 0;
};

}  // namespace hc
