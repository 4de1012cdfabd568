#pragma once
#include <cstdint>

namespace hc::memory {

// The physical memory available now, in bytes.
std::uint64_t AvailablePhysicalMemory();
// Lets the system take back the pages the program does not use now.
void TrimWorkingSet();

}  // namespace hc::memory
