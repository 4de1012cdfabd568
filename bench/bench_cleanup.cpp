// The clean-up after a panic with every step ticked, and the Task Manager switch, under growing amounts to clean.
#include <windows.h>
#include <wininet.h>

#include <cstdio>

#include "BenchSupport.h"
#include "CleanupSupport.h"
#include "LocalHttpServer.h"
#include "cleanup/CleanupOperations.h"
#include "cleanup/TaskManagerSwitch.h"
#include "platform/Files.h"

namespace {

void Download(const std::wstring& url) {
    HINTERNET session = InternetOpenW(L"hc-bench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!session) return;
    if (HINTERNET request = InternetOpenUrlW(session, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0)) {
        char buffer[512];
        DWORD got = 0;
        while (InternetReadFile(request, buffer, sizeof(buffer), &got) && got > 0) {
        }
        InternetCloseHandle(request);
    }
    InternetCloseHandle(session);
}

std::string CssPath(int i) {
    std::string path = "/";
    path += std::to_string(i);
    path += ".css";
    return path;
}

// The bare walk: first entry, delete, next, with one fixed buffer.
void BareCacheWalk() {
    alignas(8) BYTE buffer[16384];
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer);
    DWORD size = sizeof(buffer);
    HANDLE search = FindFirstUrlCacheEntryW(nullptr, entry, &size);
    if (!search) return;
    do {
        DeleteUrlCacheEntryW(entry->lpszSourceUrlName);
        size = sizeof(buffer);
    } while (FindNextUrlCacheEntryW(search, entry, &size));
    FindCloseUrlCache(search);
}

}  // namespace

int main() {
    const std::wstring why = hctest::WhyNotPrivateSandbox();
    if (!why.empty()) {
        std::printf("not run: the clean-up deletes files; run it through scripts/bench.sh\n");
        return 0;
    }
    hctest::ComApartment com;
    hctest::LocalHttpServer server;
    const std::wstring recent = hc::files::RecentDocumentsFolder();
    constexpr int kRuns = 7;

    std::printf("DoOptions with all five steps ticked; cache step against a bare WinINet delete walk\n");
    std::printf("%8s %14s %12s %12s %8s\n", "entries", "all steps ms", "cache ms", "bare ms", "ratio");
    for (int count : {20, 100}) {
        for (int i = 0; i < count; ++i) server.Serve(CssPath(i), {200, "a{}", "text/css"});
        auto fill = [&] {
            for (int i = 0; i < count; ++i) {
                Download(server.Url(CssPath(i)));
                hctest::WriteTextFile(recent + L"\\doc" + std::to_wstring(i) + L".lnk", "link");
            }
        };
        hc::Settings all;
        all.cbMuteAudio = all.cbRecycle = all.cbClearTemp = all.cbHistory = all.cbRecent = true;
        hc::Settings cacheOnly;
        cacheOnly.cbMuteAudio = false;
        cacheOnly.cbClearTemp = true;
        hc::SystemAudioOutputs audio;
        hc::SystemCleanupServices services;
        hc::CleanupOperations everything(all, audio, services);
        hc::CleanupOperations cache(cacheOnly, audio, services);
        const double allMs = hcbench::MedianMs(
            kRuns,
            [&] {
                everything.DoOptions();
                everything.SetAudioMute(false);
            },
            fill);
        const double cacheMs = hcbench::MedianMs(
            kRuns, [&] { cache.DoOptions(); }, fill);
        const double bareMs = hcbench::MedianMs(
            kRuns, [&] { BareCacheWalk(); }, fill);
        std::printf("%8d %14.2f %12.2f %12.2f %8.2f\n", count, allMs, cacheMs, bareMs, cacheMs / bareMs);
        everything.DoOptions();  // leaves the Recent folder and the bin empty for the next size
    }

    hctest::ScopedTaskManagerPolicy policy;
    hc::TokenAdministratorProbe probe;
    hc::TaskManagerSwitch switches(probe);
    const double probeMs = hcbench::MedianMs(25, [&] { probe.HasAdministratorRights(); });
    const double writeMs = hcbench::MedianMs(
        25, [&] { switches.SetTaskManagerDisabled(true); }, [&] { switches.SetTaskManagerDisabled(false); });
    const double startMs = hcbench::MedianMs(
        25, [&] { hc::RemoveLeftoverTaskManagerPolicy(); }, [&] { switches.SetTaskManagerDisabled(true); });
    std::printf("\nadministrator probe %.3f ms, policy write with its record %.3f ms, start-up removal %.3f ms\n",
                probeMs, writeMs, startMs);
    return 0;
}
