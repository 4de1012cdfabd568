#include "settings/Configuration.h"

#include "platform/Shell.h"

namespace hc {

Configuration ConfigurationSetup(const std::wstring& commonAppDataFolder) {
    Configuration c;
    c.programFile = shell::FullPathName(L"HC.exe");
    c.programManifest = shell::FullPathName(L"HC.exe.manifest");
    c.helpFile = shell::FullPathName(L"Hushcloak.chm");
    // Without the common folder there are no data folders: an empty path would mean the root of the drive.
    if (!commonAppDataFolder.empty()) {
        c.dataFolder = commonAppDataFolder + L"\\HC\\bin\\";
        c.tempDownloadFolder = commonAppDataFolder + L"\\HC\\bin\\temp";
        c.localVersionFile = c.tempDownloadFolder + L"\\versionchk.cfg";
        c.localNewsFile = c.tempDownloadFolder + L"\\news.cfg";
    }
    c.optionsFile = shell::FullPathName(L"bin\\\\options.cfg");
    c.statisticsFile = shell::FullPathName(L"bin\\\\statistics.cfg");
    c.manifestsFolder = shell::FullPathName(L"manifests\\\\");
    c.xpManifest = shell::FullPathName(L"manifests\\\\XP.manifest");
    c.postXpManifest = shell::FullPathName(L"manifests\\\\PostXP.manifest");
    for (const std::wstring* folder : {&c.dataFolder, &c.tempDownloadFolder}) {
        if (folder->empty()) continue;
        const int created = shell::CreateFolderTree(*folder);
        if (created > 0) c.foldersCreated += created;
    }
    return c;
}

std::wstring CommonAppDataFolder() { return shell::CommonAppDataFolder(); }

}  // namespace hc
