#pragma once
#include <utility>

namespace hc {

// Move-only owner of one handle of any kind; the closer runs once, when the owner lets go.
template <class H, auto Close, H Invalid = H{}>
class Unique {
public:
    Unique() = default;
    explicit Unique(H handle) : handle_(handle) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~Unique() { reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != Invalid; }
    H release() { return std::exchange(handle_, Invalid); }
    void reset(H handle = Invalid) {
        H old = std::exchange(handle_, handle);
        if (old != Invalid) Close(old);
    }
    // For out-parameters: frees what is held and hands out the slot.
    H* put() {
        reset();
        return &handle_;
    }

private:
    H handle_ = Invalid;
};

}  // namespace hc
