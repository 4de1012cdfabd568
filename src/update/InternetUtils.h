#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Network.h"

namespace hc {

// What each download may bring at most: a version file is three short lines, the news a page of text.
inline constexpr unsigned long long kMaxVersionFileBytes = 4 * 1024;
inline constexpr unsigned long long kMaxNewsFileBytes = 64 * 1024;
inline constexpr unsigned long long kMaxInstallerBytes = 64ull * 1024 * 1024;

// 0 found; -1 known without an address; -2 not found; -3 the lookup failed (address 0.0.0.0).
int ResolveHostAddress(const std::string& hostName, network::Ipv4Address& address);

// 0 when the host answered one echo within the timeout; 1 when it did not (or no echo could be sent);
// -1, -2 or -3 when the name lookup gave that result, and then no echo is sent. Blocks for the lookup and the
// echo: never on the user-interface thread.
int PingHost(const std::wstring& hostName, unsigned timeoutMs);
// Many networks drop echo requests: a host that resolves is worth a download attempt even when it kept
// silent. Only a failed lookup means the server cannot be reached.
inline bool ServerMayBeReachable(int pingResult) { return pingResult == 0 || pingResult == 1; }

// 0 when the server sent the file (a 2xx answer of at most maxBytes), 1 otherwise; an error page or a part is
// never left at the path. cancel, when given, stops the download at its next progress report.
int DownloadFile(const std::wstring& url, const std::wstring& path, unsigned long long maxBytes,
                 const std::atomic<bool>* cancel = nullptr);

// What one installer download reports to, and whether it was asked to stop.
struct DownloadTargets {
    std::function<void(int percent)> onPercent;  // each time the percent changes
    const std::atomic<bool>* cancelRequested = nullptr;
    int lastPercent = -1;
};

// Downloads, reporting the percent done. 0 on success; 1 on any failure or cancellation, and then no partial
// file remains.
int DownloadFileWithProgress(const std::wstring& url, const std::wstring& path, DownloadTargets targets,
                             unsigned long long maxBytes);

// The percent of position in maximum, rounded to the nearest integer with halves to the even one; nullopt for
// a maximum of 0.
std::optional<int> DownloadPercent(std::uint32_t position, std::uint32_t maximum);

class TEventHandlers {
public:
    // One progress notification of the download that Sender describes: reports a changed percent, and sets
    // Cancel when the download was asked to stop.
    static void URLOnDownloadProgress(DownloadTargets& Sender, std::uint32_t Progress, std::uint32_t ProgressMax,
                                      std::uint32_t StatusCode, const std::wstring& StatusText, bool& Cancel);
};

}  // namespace hc
