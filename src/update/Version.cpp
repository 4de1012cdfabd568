#include "update/Version.h"

#include <utility>

namespace hc {

TVersion::TVersion(int majorVersion, int minorVersion, int release, std::int64_t build, std::wstring platform,
                   CalendarDate releaseDate, std::wstring updateInstallerUrl)
    : MajorVersion(majorVersion),
      MinorVersion(minorVersion),
      Release(release),
      Build(build),
      Platform(std::move(platform)),
      ReleaseDate(releaseDate),
      UpdateInstallerURL(std::move(updateInstallerUrl)) {}

}  // namespace hc
