#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace hc::internet {

// Drops a cached copy of the address, so the next download asks the server.
void RemoveFromCache(const std::wstring& url);

struct DownloadProgress {
    ULONG progress = 0;
    ULONG progressMax = 0;
    ULONG statusCode = 0;
    std::wstring statusText;
};

// Called for each progress notification of a download; returning false cancels the download.
using ProgressHandler = std::function<bool(const DownloadProgress&)>;

struct DownloadOutcome {
    HRESULT result = E_FAIL;  // what the download service reported
    DWORD httpStatus = 0;     // the server's status line; 0 when none was seen (not HTTP, or no answer)
    bool cancelled = false;
    bool complete = true;   // false when the file is shorter than the size the server announced
    bool tooLarge = false;  // the server announced or sent more than the limit, so the download was stopped
    bool downgraded = false;  // an https address redirected to one that is not, so the download was stopped
    // The service reports success for an error page and for a cut transfer too: only a whole 2xx answer (or a
    // non-HTTP source) counts.
    bool Succeeded() const {
        return SUCCEEDED(result) && !cancelled && !tooLarge && !downgraded && complete &&
               (httpStatus == 0 || httpStatus / 100 == 2);
    }
};

// True when a redirect leaves https for anything else: whoever sits on the network could then answer.
bool IsDowngradingRedirect(std::wstring_view from, std::wstring_view to);

// URLDownloadToFileW with a binding callback that watches the HTTP status and reports progress. A download
// that would pass maxBytes is stopped. Runs on any thread; it initialises COM there for its own use.
DownloadOutcome DownloadToFile(const std::wstring& url, const std::wstring& path,
                               const ProgressHandler& onProgress = {}, unsigned long long maxBytes = ~0ull);

}  // namespace hc::internet
