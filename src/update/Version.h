#pragma once
#include <cstdint>
#include <string>

namespace hc {

// A calendar date of whole days; all zero is the zero date.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// A build of the program: the running one, or the latest one published.
class TVersion {
public:
    TVersion() = default;
    TVersion(int majorVersion, int minorVersion, int release, std::int64_t build, std::wstring platform,
             CalendarDate releaseDate, std::wstring updateInstallerUrl);

    int GetMajorVersion() const { return MajorVersion; }
    int GetMinorVersion() const { return MinorVersion; }
    int GetRelease() const { return Release; }
    std::int64_t GetBuild() const { return Build; }
    const std::wstring& GetPlatform() const { return Platform; }
    CalendarDate GetReleaseDate() const { return ReleaseDate; }
    const std::wstring& GetUpdateInstallerURL() const { return UpdateInstallerURL; }

private:
    std::int32_t MajorVersion = 0;
    std::int32_t MinorVersion = 0;
    std::int32_t Release = 0;
    std::int64_t Build = 0;
    std::wstring Platform;
    CalendarDate ReleaseDate;
    std::wstring UpdateInstallerURL;
};

}  // namespace hc
