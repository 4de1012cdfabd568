#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace hc::network {

using Ipv4Address = std::array<std::uint8_t, 4>;  // network order

// Winsock's gethostbyname: 0 found, -1 known without an address, -2 not found, -3 the lookup itself failed
// (the address is then 0.0.0.0).
int LookUpHost(const std::string& hostName, Ipv4Address& address);

// One ICMP echo without data: true when exactly one reply came within the timeout. False also when no ICMP
// handle could be had.
bool EchoAnswered(const Ipv4Address& address, unsigned timeoutMs);

}  // namespace hc::network
