#pragma once
#include <windows.h>

#include "platform/Unique.h"

namespace hc {

// COM for the user-interface thread, apartment-threaded, for the life of the object: the shell's launch of the
// decoy and the clean-up steps need it.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Initialised() const { return initialised_; }

private:
    bool initialised_ = false;
};

// COM on this thread from now on, for the rest of its life; nothing when it already has it. The panic's own
// calls make sure of it: a panic may come before start-up has got round to COM.
void JoinComApartment();

template <class T>
void ReleaseInterface(T* object) {
    object->Release();
}
// A COM interface pointer that is released once, when its owner lets go.
template <class T>
using UniqueCom = Unique<T*, &ReleaseInterface<T>>;

}  // namespace hc
