#pragma once
#include "platform/Unique.h"

namespace hc {

template <class T>
void ReleaseInterface(T* object) {
    object->Release();
}
// A COM interface pointer that is released once, when its owner lets go.
template <class T>
using UniqueCom = Unique<T*, &ReleaseInterface<T>>;

}  // namespace hc
