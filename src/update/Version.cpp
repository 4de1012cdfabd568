#include "update/Version.h"

#include <optional>
#include <utility>

#include "HcVersion.h"
#include "platform/Files.h"
#include "settings/Conversions.h"
#include "update/InternetUtils.h"

namespace hc {

TVersion RunningVersion() {
    // The numbers come from the build's one version, so the record and the version resource always agree.
    return TVersion(HC_VERSION_MAJOR, HC_VERSION_MINOR, HC_VERSION_RELEASE, HC_VERSION_BUILD, HC_PLATFORM_WORD,
                    CalendarDate{2017, 8, 8}, L"");
}

namespace {
constexpr wchar_t kPlatformToken[] = L"Flag_Platform";

// The fields of a version-file line: only "." separates, and empty fields are skipped.
std::vector<std::wstring> Fields(const std::wstring& line) {
    std::vector<std::wstring> fields;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(L'.', start);
        if (end == std::wstring::npos) end = line.size();
        if (end > start) fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

template <class Number>
Number FieldValue(const std::vector<std::wstring>& fields, size_t index,
                  std::optional<Number> (*convert)(std::wstring_view)) {
    if (index >= fields.size()) throw VersionFileError("The version file has too few fields.");
    const auto value = convert(fields[index]);
    if (!value) throw VersionFileError("The version file holds a field that is not a number.");
    return *value;
}

std::optional<int> ToInt(std::wstring_view text) { return TextToInt(text); }
std::optional<long long> ToInt64(std::wstring_view text) { return TextToInt64(text); }

std::wstring ReplaceAll(std::wstring text, std::wstring_view token, const std::wstring& by) {
    for (size_t at = text.find(token); at != std::wstring::npos; at = text.find(token, at + by.size()))
        text.replace(at, token.size(), by);
    return text;
}
}  // namespace

TVersion::TVersion(int majorVersion, int minorVersion, int release, std::int64_t build, std::wstring platform,
                   CalendarDate releaseDate, std::wstring updateInstallerUrl)
    : MajorVersion(majorVersion),
      MinorVersion(minorVersion),
      Release(release),
      Build(build),
      Platform(std::move(platform)),
      ReleaseDate(releaseDate),
      UpdateInstallerURL(std::move(updateInstallerUrl)) {}

bool IsValidDate(const CalendarDate& date) {
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    const int days = kDays[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
    return date.day <= days;
}

void TVersion::ReadVersionFile(const std::vector<std::wstring>& lines, const std::wstring& platform) {
    if (lines.empty()) throw VersionFileError("The version file is empty.");
    const auto version = Fields(lines[0]);
    MajorVersion = FieldValue<int>(version, 0, &ToInt);
    MinorVersion = FieldValue<int>(version, 1, &ToInt);
    Release = FieldValue<int>(version, 2, &ToInt);
    Build = FieldValue<long long>(version, 3, &ToInt64);

    if (lines.size() < 2) throw VersionFileError("The version file has no release date.");
    const auto date = Fields(lines[1]);
    CalendarDate released{};
    released.day = FieldValue<int>(date, 0, &ToInt);
    released.month = FieldValue<int>(date, 1, &ToInt);
    released.year = FieldValue<int>(date, 2, &ToInt);
    if (!IsValidDate(released)) throw VersionFileError("The version file's release date is not a valid date.");
    ReleaseDate = released;

    UpdateInstallerURL = ReplaceAll(lines.size() > 2 ? lines[2] : std::wstring(), kPlatformToken, platform);
}

int TVersion::GetLatestVersion(const TVersion& CurrentVersion, const std::wstring& CheckLatestApplicationVersionURL,
                               const std::wstring& CheckLatestApplicationVersionPath, const std::atomic<bool>* cancel) {
    if (DownloadFile(CheckLatestApplicationVersionURL, CheckLatestApplicationVersionPath, kMaxVersionFileBytes,
                     cancel) != 0)
        return 1;
    const auto lines = files::ReadLines(CheckLatestApplicationVersionPath);
    if (!lines) throw VersionFileError("The version file cannot be read.");
    // A file that fails to parse stays; the next successful download overwrites it.
    ReadVersionFile(*lines, CurrentVersion.GetPlatform());
    files::Delete(CheckLatestApplicationVersionPath);
    return 0;
}

}  // namespace hc
