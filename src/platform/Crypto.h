#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace hc::crypto {

using Bytes = std::vector<std::uint8_t>;

// Random bytes from the system's generator; nullopt when it refuses.
std::optional<Bytes> RandomBytes(std::size_t count);

// PBKDF2 with HMAC-SHA256 from the system's provider; nullopt when the provider refuses.
std::optional<Bytes> Pbkdf2Sha256(const void* secret, std::size_t secretBytes, const Bytes& salt,
                                  std::uint32_t iterations, std::size_t keyBytes);

}  // namespace hc::crypto
