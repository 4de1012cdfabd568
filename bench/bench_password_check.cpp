// One password check (PBKDF2-HMAC-SHA256) at today's iteration count and at the count older hashes were made
// with, against the comparison of an old plain password.
#include <cstdio>

#include "BenchSupport.h"
#include "password/PasswordHash.h"

namespace {
constexpr std::uint32_t kOlderIterations = 100000;
}

int main() {
    const auto stored = hc::MakeStoredPassword(L"correct horse battery staple");
    const auto salt = hc::crypto::RandomBytes(hc::kPasswordSaltBytes);
    const auto older = salt ? hc::HashPassword(L"correct horse battery staple", *salt, kOlderIterations) : std::nullopt;
    if (!stored || !older) {
        std::printf("the system could not make a hash\n");
        return 1;
    }
    const std::wstring olderStored = hc::FormatPasswordHash(*older);
    bool matched = true;
    const double check =
        hcbench::MedianMs(9, [&] { matched = hc::PasswordMatches(*stored, L"correct horse") && matched; });
    const double olderCheck =
        hcbench::MedianMs(9, [&] { matched = hc::PasswordMatches(olderStored, L"correct horse") && matched; });
    const double plain = hcbench::MedianMs(9, [&] { matched = hc::PasswordMatches(L"plain", L"plain") && matched; });
    std::printf("iterations %u: one check %.1f ms; at %u: %.1f ms (ratio %.2f); an old plain comparison %.4f ms\n",
                hc::kPasswordIterations, check, kOlderIterations, olderCheck, check / olderCheck, plain);
    return 0;
}
