#pragma once
#include <windows.h>

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

}  // namespace hc
