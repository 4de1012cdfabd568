#include "platform/Com.h"

#include <objbase.h>

namespace hc {

ComApartment::ComApartment()
    : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

}  // namespace hc
