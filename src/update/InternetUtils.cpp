#include "update/InternetUtils.h"

#include <algorithm>

#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Internet.h"
#include "settings/Conversions.h"

namespace hc {

int ResolveHostAddress(const std::string& hostName, network::Ipv4Address& address) {
    return network::LookUpHost(hostName, address);
}

int PingHost(const std::wstring& hostName, unsigned timeoutMs) {
    network::Ipv4Address address{};
    const int lookup = ResolveHostAddress(files::ToCodePage(hostName), address);
    // A failed lookup leaves 0.0.0.0, which is no server to ask.
    if (lookup != 0) return lookup;
    return network::EchoAnswered(address, timeoutMs) ? 0 : 1;
}

int DownloadFile(const std::wstring& url, const std::wstring& path) {
    internet::RemoveFromCache(url);
    if (internet::DownloadToFile(url, path).Succeeded()) return 0;
    files::Delete(path);  // the server's error page, or a part of the file
    return 1;
}

std::optional<int> DownloadPercent(std::uint32_t position, std::uint32_t maximum) {
    if (maximum == 0) return std::nullopt;
    const std::uint64_t scaled = std::uint64_t{position} * 100;
    std::uint64_t percent = scaled / maximum;
    const std::uint64_t twiceRest = (scaled % maximum) * 2;
    if (twiceRest > maximum || (twiceRest == maximum && percent % 2 == 1)) ++percent;
    return static_cast<int>(percent);
}

void TEventHandlers::URLOnDownloadProgress(DownloadTargets& Sender, std::uint32_t Progress, std::uint32_t ProgressMax,
                                           std::uint32_t, const std::wstring&, bool& Cancel) {
    const auto maximum = static_cast<int>(std::min<std::uint32_t>(ProgressMax, INT32_MAX));
    const auto position = std::min<std::uint32_t>(Progress, static_cast<std::uint32_t>(maximum));
    controls::SetProgressRange(Sender.progressBar, maximum);
    controls::SetProgressPosition(Sender.progressBar, static_cast<int>(position));
    if (const auto percent = DownloadPercent(position, static_cast<std::uint32_t>(maximum)))
        controls::SetText(Sender.percentLabel, IntToText(*percent) + L" %");
    if (!controls::PumpPendingMessages(&Sender.quitCode)) Sender.quitSeen = true;
    if (Sender.quitSeen || (Sender.cancelRequested && *Sender.cancelRequested)) Cancel = true;
}

int DownloadFileWithProgress(const std::wstring& url, const std::wstring& path, HWND progressBar, HWND percentLabel,
                             const bool* cancelRequested) {
    internet::RemoveFromCache(url);
    // The targets live for this download only: nothing reports to the controls once it has ended.
    DownloadTargets targets{progressBar, percentLabel, cancelRequested, false, 0};
    const auto outcome = internet::DownloadToFile(url, path, [&targets](const internet::DownloadProgress& report) {
        bool cancel = false;
        TEventHandlers::URLOnDownloadProgress(targets, report.progress, report.progressMax, report.statusCode,
                                              report.statusText, cancel);
        return !cancel;
    });
    controls::SetProgressPosition(progressBar, 0);
    // The download service may run a message loop of its own while it winds down, and that loop drops a quit
    // request: ask again, so the program still ends.
    if (targets.quitSeen) controls::PostQuit(targets.quitCode);
    if (outcome.Succeeded() && !targets.quitSeen) return 0;
    files::Delete(path);
    return 1;
}

}  // namespace hc
