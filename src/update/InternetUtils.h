#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Network.h"

namespace hc {

// 0 found; -1 known without an address; -2 not found; -3 the lookup failed (address 0.0.0.0).
int ResolveHostAddress(const std::string& hostName, network::Ipv4Address& address);

// 0 when the host answered one echo within the timeout; 1 when it did not (or no echo could be sent);
// -1, -2 or -3 when the name lookup gave that result, and then no echo is sent.
int PingHost(const std::wstring& hostName, unsigned timeoutMs);
// Many networks drop echo requests: a host that resolves is worth a download attempt even when it kept
// silent. Only a failed lookup means the server cannot be reached.
inline bool ServerMayBeReachable(int pingResult) { return pingResult == 0 || pingResult == 1; }

// 0 when the server sent the file (a 2xx answer), 1 otherwise; an error page is never left at the path.
int DownloadFile(const std::wstring& url, const std::wstring& path);

// What one installer download reports to, and whether the user has asked it to stop.
struct DownloadTargets {
    HWND progressBar = nullptr;
    HWND percentLabel = nullptr;
    const bool* cancelRequested = nullptr;
    bool quitSeen = false;
    int quitCode = 0;
};

// Downloads with progress shown on the two controls; the bar goes back to 0 afterwards and the label keeps
// its last text. 0 on success; 1 on any failure or cancellation, and then no partial file remains.
int DownloadFileWithProgress(const std::wstring& url, const std::wstring& path, HWND progressBar, HWND percentLabel,
                             const bool* cancelRequested = nullptr);

// The percent of position in maximum, rounded to the nearest integer with halves to the even one; nullopt for
// a maximum of 0.
std::optional<int> DownloadPercent(std::uint32_t position, std::uint32_t maximum);

class TEventHandlers {
public:
    // One progress notification of the download that Sender describes: bar maximum and position, the percent
    // text, then the waiting messages. Sets Cancel when the user stopped the download or the program ends.
    static void URLOnDownloadProgress(DownloadTargets& Sender, std::uint32_t Progress, std::uint32_t ProgressMax,
                                      std::uint32_t StatusCode, const std::wstring& StatusText, bool& Cancel);
};

}  // namespace hc
