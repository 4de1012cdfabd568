#include "platform/Com.h"

#include <objbase.h>

namespace hc {

ComApartment::ComApartment()
    : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

void JoinComApartment() {
    // Never left: the thread keeps the apartment until it ends, and a failure shows in the call that needed it.
    thread_local const bool joined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    (void)joined;
}

}  // namespace hc
