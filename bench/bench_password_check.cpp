// One password check (PBKDF2-HMAC-SHA256 at the stored iteration count) against the comparison of an old
// plain password; the check should cost about 0.1 s.
#include <cstdio>

#include "BenchSupport.h"
#include "password/PasswordHash.h"

int main() {
    const auto stored = hc::MakeStoredPassword(L"correct horse battery staple");
    if (!stored) {
        std::printf("the system could not make a hash\n");
        return 1;
    }
    bool matched = true;
    const double check =
        hcbench::MedianMs(9, [&] { matched = hc::PasswordMatches(*stored, L"correct horse") && matched; });
    const double plain = hcbench::MedianMs(9, [&] { matched = hc::PasswordMatches(L"plain", L"plain") && matched; });
    std::printf("iterations %u: one check %.1f ms; an old plain comparison %.4f ms\n", hc::kPasswordIterations, check,
                plain);
    return 0;
}
