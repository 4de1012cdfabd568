#pragma once
#include <cstddef>
#include <cstdint>

namespace hc::memory {

// The physical memory available now, in bytes.
std::uint64_t AvailablePhysicalMemory();
// Lets the system take back the pages the program does not use now.
void TrimWorkingSet();
// Zeroes the bytes in a way the compiler may not leave out (SecureZeroMemory), for secrets about to be dropped.
void Wipe(void* data, std::size_t bytes) noexcept;

}  // namespace hc::memory
