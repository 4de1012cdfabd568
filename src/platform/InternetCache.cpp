#include "platform/InternetCache.h"

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <vector>

namespace hc::internetcache {

namespace {
// One cache entry's record, grown when the next entry needs more room.
class EntryBuffer {
public:
    INTERNET_CACHE_ENTRY_INFOW* Entry() { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(storage_.data()); }
    DWORD* Size() {
        size_ = static_cast<DWORD>(storage_.size() * sizeof(std::uint64_t));
        return &size_;
    }
    // After a call failed for want of room: true when the buffer has grown to the size the call asked for.
    bool Grow() {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        storage_.resize(size_ / sizeof(std::uint64_t) + 1);
        return true;
    }

private:
    std::vector<std::uint64_t> storage_ = std::vector<std::uint64_t>(512);
    DWORD size_ = 0;
};
}  // namespace

ClearResult ClearAll() {
    ClearResult result;
    EntryBuffer buffer;
    HANDLE search = FindFirstUrlCacheEntryW(nullptr, buffer.Entry(), buffer.Size());
    if (!search && buffer.Grow()) search = FindFirstUrlCacheEntryW(nullptr, buffer.Entry(), buffer.Size());
    if (!search) {
        result.complete = GetLastError() == ERROR_NO_MORE_ITEMS;
        return result;
    }
    for (;;) {
        ++result.visited;
        if (buffer.Entry()->lpszSourceUrlName && DeleteUrlCacheEntryW(buffer.Entry()->lpszSourceUrlName))
            ++result.deleted;
        BOOL next = FindNextUrlCacheEntryW(search, buffer.Entry(), buffer.Size());
        if (!next && buffer.Grow()) next = FindNextUrlCacheEntryW(search, buffer.Entry(), buffer.Size());
        if (!next) {
            result.complete = GetLastError() == ERROR_NO_MORE_ITEMS;
            break;
        }
    }
    FindCloseUrlCache(search);
    return result;
}

}  // namespace hc::internetcache
