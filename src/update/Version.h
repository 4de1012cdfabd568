#pragma once
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace hc {

// A calendar date of whole days; all zero is the zero date.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// A version file that does not read as one.
class VersionFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
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

    // Downloads the version file to the local path and fills this record from it; CurrentVersion gives the
    // platform word. 0 on success (the local file is then deleted), 1 when the download failed (the record
    // stays as it was). A file that does not parse throws VersionFileError, keeping the fields read before.
    int GetLatestVersion(const TVersion& CurrentVersion, const std::wstring& CheckLatestApplicationVersionURL,
                         const std::wstring& CheckLatestApplicationVersionPath,
                         const std::atomic<bool>* cancel = nullptr);
    // Fills the record from the lines of a version file, in the order they are read; throws VersionFileError.
    void ReadVersionFile(const std::vector<std::wstring>& lines, const std::wstring& platform);
    // Only the build number counts.
    bool IsNewerVersion(const TVersion& ComparedVersion) const { return Build > ComparedVersion.Build; }

private:
    std::int32_t MajorVersion = 0;
    std::int32_t MinorVersion = 0;
    std::int32_t Release = 0;
    std::int64_t Build = 0;
    std::wstring Platform;
    CalendarDate ReleaseDate;
    std::wstring UpdateInstallerURL;
};

// The getters' answers when there is no record at all.
inline std::int64_t BuildOf(const TVersion* version) { return version ? version->GetBuild() : 0; }
inline std::wstring InstallerUrlOf(const TVersion* version) {
    return version ? version->GetUpdateInstallerURL() : std::wstring();
}

// The running build.
TVersion RunningVersion();

// True for a real day of the calendar (years 1 to 9999).
bool IsValidDate(const CalendarDate& date);

}  // namespace hc
