#include "platform/UrlHistory.h"

#include <urlhist.h>

#include "platform/Com.h"

namespace hc::urlhistory {

namespace {
// MinGW's libuuid lacks these two.
constexpr CLSID kUrlHistory = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kIUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};
}  // namespace

HRESULT ClearAll() {
    JoinComApartment();
    UniqueCom<IUrlHistoryStg2> store;
    const HRESULT created = CoCreateInstance(kUrlHistory, nullptr, CLSCTX_INPROC_SERVER, kIUrlHistoryStg2,
                                             reinterpret_cast<void**>(store.put()));
    if (FAILED(created)) return created;
    if (!store) return E_NOINTERFACE;
    WaitCursor wait;
    return store.get()->ClearHistory();
}

}  // namespace hc::urlhistory
