#include "platform/Internet.h"

#include <urlmon.h>
#include <wininet.h>

#include <cwctype>

namespace hc::internet {

namespace {
bool IsHttps(std::wstring_view address) {
    constexpr std::wstring_view kScheme = L"https://";
    if (address.size() < kScheme.size()) return false;
    for (size_t i = 0; i < kScheme.size(); ++i)
        if (towlower(address[i]) != kScheme[i]) return false;
    return true;
}

// The Content-Length of a response's headers; -1 when there is none.
long long ContentLength(std::wstring headers) {
    for (wchar_t& c : headers) c = static_cast<wchar_t>(towlower(c));
    const size_t at = headers.find(L"\ncontent-length:");
    if (at == std::wstring::npos) return -1;
    size_t digit = headers.find_first_not_of(L" \t", at + 16);
    long long length = 0;
    bool any = false;
    for (; digit < headers.size() && iswdigit(headers[digit]) && length < (1LL << 50); ++digit, any = true)
        length = length * 10 + (headers[digit] - L'0');
    return any ? length : -1;
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The binding callback of one download. It lives on the caller's stack for the whole synchronous call, so its
// reference count only has to satisfy COM's rules, never to free it.
class BindingCallback final : public IBindStatusCallback, public IHttpNegotiate {
public:
    BindingCallback(const std::wstring& url, const ProgressHandler& onProgress, unsigned long long maxBytes)
        : url_(url), onProgress_(onProgress), maxBytes_(maxBytes) {}
    ~BindingCallback() {
        if (binding_) binding_->Release();
    }

    DWORD httpStatus = 0;
    long long contentLength = -1;
    bool cancelled = false;
    bool tooLarge = false;
    bool downgraded = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
            *object = static_cast<IBindStatusCallback*>(this);
        } else if (IsEqualIID(riid, IID_IHttpNegotiate)) {
            *object = static_cast<IHttpNegotiate*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override {
        if (binding) {
            binding->AddRef();
            binding_ = binding;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                         LPCWSTR statusText) override {
        if (cancelled || tooLarge || downgraded) return E_ABORT;
        if (statusCode == BINDSTATUS_REDIRECTING && IsDowngradingRedirect(url_, statusText ? statusText : L""))
            return Stop(downgraded);
        if (progress > maxBytes_ || (contentLength >= 0 && static_cast<unsigned long long>(contentLength) > maxBytes_))
            return Stop(tooLarge);
        if (!onProgress_) return S_OK;
        DownloadProgress report{progress, progressMax, statusCode, statusText ? statusText : L""};
        bool goOn = true;
        try {
            goOn = onProgress_(report);
        } catch (...) {
            goOn = false;  // a failing handler must not unwind through the download service
        }
        return goOn ? S_OK : Stop(cancelled);
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override {
        if (binding_) {
            binding_->Release();
            binding_ = nullptr;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override {
        if (flags) *flags = BINDF_GETNEWESTVERSION | BINDF_NOWRITECACHE;
        if (info && info->cbSize >= sizeof(DWORD)) {
            const ULONG size = info->cbSize;
            ZeroMemory(info, size);
            info->cbSize = size;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) override {
        if (additionalHeaders) *additionalHeaders = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD responseCode, LPCWSTR headers, LPCWSTR,
                                         LPWSTR* additionalHeaders) override {
        if (additionalHeaders) *additionalHeaders = nullptr;
        httpStatus = responseCode;
        contentLength = ContentLength(headers ? headers : L"");
        return S_OK;
    }

private:
    HRESULT Stop(bool& reason) {
        reason = true;
        if (binding_) binding_->Abort();
        return E_ABORT;
    }

    const std::wstring& url_;
    const ProgressHandler& onProgress_;
    const unsigned long long maxBytes_;
    IBinding* binding_ = nullptr;
    ULONG references_ = 1;
};
}  // namespace

bool IsDowngradingRedirect(std::wstring_view from, std::wstring_view to) { return IsHttps(from) && !IsHttps(to); }

void RemoveFromCache(const std::wstring& url) {
    // Absent from the cache is the usual case, and not a failure.
    DeleteUrlCacheEntryW(url.c_str());
}

DownloadOutcome DownloadToFile(const std::wstring& url, const std::wstring& path, const ProgressHandler& onProgress,
                               unsigned long long maxBytes) {
    // S_FALSE when this thread already had COM; a refusal (another apartment model) still leaves COM usable.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DownloadOutcome outcome;
    {
        BindingCallback callback(url, onProgress, maxBytes);
        outcome.result = URLDownloadToFileW(nullptr, url.c_str(), path.c_str(), 0, &callback);
        outcome.httpStatus = callback.httpStatus;
        outcome.cancelled = callback.cancelled;
        outcome.tooLarge = callback.tooLarge;
        outcome.downgraded = callback.downgraded;
        if (SUCCEEDED(outcome.result) && callback.contentLength >= 0)
            outcome.complete = FileSize(path) == callback.contentLength;
    }
    if (SUCCEEDED(com)) CoUninitialize();
    // What arrived counts too: a server may send more than it announced.
    if (maxBytes < (1ull << 62) && FileSize(path) > static_cast<long long>(maxBytes)) outcome.tooLarge = true;
    return outcome;
}

}  // namespace hc::internet
