#include "update/InternetUtils.h"

#include <algorithm>

#include "platform/Files.h"
#include "platform/Internet.h"
#include "update/UpdateAddresses.h"

namespace hc {

int ResolveHostAddress(const std::string& hostName, network::Ipv4Address& address) {
    return network::LookUpHost(hostName, address);
}

int PingHost(const std::wstring& hostName, unsigned timeoutMs) {
    // The loopback host needs no lookup (and "::1" has no IPv4 address to ask).
    if (IsLoopbackHost(hostName)) return 0;
    network::Ipv4Address address{};
    const int lookup = ResolveHostAddress(files::ToCodePage(hostName), address);
    // A failed lookup leaves 0.0.0.0, which is no server to ask.
    if (lookup != 0) return lookup;
    return network::EchoAnswered(address, timeoutMs) ? 0 : 1;
}

int DownloadFile(const std::wstring& url, const std::wstring& path, unsigned long long maxBytes,
                 const std::atomic<bool>* cancel) {
    internet::RemoveFromCache(url);
    const auto goOn = [cancel](const internet::DownloadProgress&) { return !cancel || !*cancel; };
    if (internet::DownloadToFile(url, path, goOn, maxBytes).Succeeded()) return 0;
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
    const auto position = std::min(Progress, ProgressMax);
    if (const auto percent = DownloadPercent(position, ProgressMax); percent && *percent != Sender.lastPercent) {
        Sender.lastPercent = *percent;
        if (Sender.onPercent) Sender.onPercent(*percent);
    }
    if (Sender.cancelRequested && *Sender.cancelRequested) Cancel = true;
}

int DownloadFileWithProgress(const std::wstring& url, const std::wstring& path, DownloadTargets targets,
                             unsigned long long maxBytes) {
    internet::RemoveFromCache(url);
    const auto outcome = internet::DownloadToFile(
        url, path,
        [&targets](const internet::DownloadProgress& report) {
            bool cancel = false;
            TEventHandlers::URLOnDownloadProgress(targets, report.progress, report.progressMax, report.statusCode,
                                                  report.statusText, cancel);
            return !cancel;
        },
        maxBytes);
    if (outcome.Succeeded()) return 0;
    files::Delete(path);
    return 1;
}

}  // namespace hc
