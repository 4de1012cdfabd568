// Reads a laid-out release the way a running build does: the version file with the program's own reader, the
// installer under the name the program would download it as. Also holds docs/settings.md against the table of
// stored settings, so the document cannot drift from what the program stores.
// Usage: releasecheck <server folder> <docs/settings.md>; prints the version, the date and the address read.
#include <cstdio>
#include <map>
#include <string>

#include "platform/Files.h"
#include "settings/Configuration.h"
#include "settings/SettingsTable.h"
#include "update/UpdateAddresses.h"
#include "update/UpdateSession.h"
#include "update/Version.h"

namespace hc {
namespace {

int failures = 0;
void Fail(const std::wstring& what) {
    std::fwprintf(stderr, L"FAIL: %ls\n", what.c_str());
    ++failures;
}

void CheckServerFolder(const std::wstring& folder) {
    const auto lines = files::ReadLines(folder + L"\\versionchk.cfg");
    if (!lines) return Fail(L"no versionchk.cfg in " + folder);
    const TVersion running = RunningVersion();
    TVersion latest;
    try {
        latest.ReadVersionFile(*lines, running.GetPlatform());
    } catch (const VersionFileError& error) {
        return Fail(L"the program cannot read versionchk.cfg: " + files::FromCodePage(error.what()));
    }
    if (latest.GetMajorVersion() != running.GetMajorVersion() || latest.GetMinorVersion() != running.GetMinorVersion() ||
        latest.GetRelease() != running.GetRelease() || latest.GetBuild() != running.GetBuild())
        Fail(L"versionchk.cfg does not give the built version");

    const std::wstring url = latest.GetUpdateInstallerURL();
    const std::wstring serverFolder = std::wstring(kVersionFileUrl).substr(0, std::wstring(kVersionFileUrl).rfind(L'/'));
    if (!url.starts_with(serverFolder + L"/")) Fail(L"the installer is not beside the version file: " + url);
    if (!IsAllowedDownloadUrl(url, ResolveUpdateAddresses(L""))) Fail(L"the program would not download " + url);
    const auto name = InstallerFileName(url);
    if (!name)
        Fail(L"the program would refuse the installer's name in " + url);
    else if (!files::Exists(folder + L"\\" + *name))
        Fail(L"the installer the program asks for is missing: " + *name);

    const auto news = files::ReadLines(folder + L"\\news.cfg");
    if (!news || news->empty()) Fail(L"no news.cfg");

    const CalendarDate date = latest.GetReleaseDate();
    std::wprintf(L"%d.%d.%d.%lld %02d.%02d.%04d %ls\n", latest.GetMajorVersion(), latest.GetMinorVersion(),
                 latest.GetRelease(), static_cast<long long>(latest.GetBuild()), date.day, date.month, date.year,
                 url.c_str());
}

// The default as the document writes it; empty where the document describes it in words.
std::wstring DocumentedDefault(const SettingRow& row) {
    if (row.defaultFrom || row.type == SettingType::Custom) return L"";
    if (row.type == SettingType::Boolean) return std::get<bool>(row.fallback) ? L"\"1\"" : L"\"0\"";
    if (row.type == SettingType::Integer) return L"\"" + std::to_wstring(std::get<int>(row.fallback)) + L"\"";
    const std::wstring text = std::get<const wchar_t*>(row.fallback);
    return text.empty() ? L"empty" : L"\"" + text + L"\"";
}

const wchar_t* DocumentedMoment(SavedWhen when) {
    switch (when) {
        case SavedWhen::MainWindowClose: return L"at every close";
        case SavedWhen::ProgramEnd: return L"when the program ends";
        case SavedWhen::OnChange: return L"as soon as it changes";
    }
    return L"";
}

// Rows of the form | "Name" | default | meaning | written |.
void CheckSettingsDocument(const std::wstring& path) {
    const auto lines = files::ReadLines(path);
    if (!lines) return Fail(L"cannot read " + path);
    std::map<std::wstring, std::vector<std::wstring>> documented;
    for (const std::wstring& line : *lines) {
        if (!line.starts_with(L"| \"")) continue;
        std::vector<std::wstring> cells;
        for (size_t start = 2, end; (end = line.find(L" | ", start)) != std::wstring::npos; start = end + 3)
            cells.push_back(line.substr(start, end - start));
        cells.push_back(line.substr(line.rfind(L" | ") + 3, line.size() - line.rfind(L" | ") - 5));
        const std::wstring name = cells[0].substr(1, cells[0].size() - 2);
        if (cells.size() != 4) Fail(L"the row of " + name + L" in " + path + L" has no four cells");
        else if (!documented.emplace(name, cells).second) Fail(name + L" is documented twice");
    }
    for (const SettingRow& row : StoredSettings()) {
        const auto found = documented.find(row.name);
        if (found == documented.end()) {
            Fail(std::wstring(row.name) + L" is stored but not documented");
            continue;
        }
        const std::wstring fallback = DocumentedDefault(row);
        if (!fallback.empty() && found->second[1] != fallback)
            Fail(std::wstring(row.name) + L": the default is " + fallback + L", documented " + found->second[1]);
        if (!found->second[3].starts_with(DocumentedMoment(row.saved)))
            Fail(std::wstring(row.name) + L" is written " + DocumentedMoment(row.saved));
        documented.erase(found);
    }
    for (const auto& [name, cells] : documented) Fail(name + L" is documented but not stored");
}

}  // namespace
}  // namespace hc

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: releasecheck <server folder> <settings document>\n");
        return 2;
    }
    hc::CheckServerFolder(argv[1]);
    hc::CheckSettingsDocument(argv[2]);
    return hc::failures == 0 ? 0 : 1;
}
