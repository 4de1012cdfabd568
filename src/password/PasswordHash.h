#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Crypto.h"

namespace hc {

// The stored form of the unhide password: "PBKDF2-SHA256$<iterations>$<salt, hex>$<hash, hex>".
inline constexpr wchar_t kPasswordHashPrefix[] = L"PBKDF2-SHA256$";
// Current guidance for PBKDF2-HMAC-SHA256 (OWASP). The count is part of every stored hash, so hashes made with
// an older count still verify, and are made anew at this one after their next success.
inline constexpr std::uint32_t kPasswordIterations = 600000;
inline constexpr std::size_t kPasswordSaltBytes = 16;
inline constexpr std::size_t kPasswordHashBytes = 32;

struct PasswordHash {
    std::uint32_t iterations = 0;
    crypto::Bytes salt;
    crypto::Bytes hash;
};

std::wstring FormatPasswordHash(const PasswordHash& hash);
// nullopt when the text is not in the stored form (an old plain password, or anything else).
std::optional<PasswordHash> ParsePasswordHash(std::wstring_view text);

// The hash of a password with the given salt; nullopt when the system's provider fails.
std::optional<PasswordHash> HashPassword(std::wstring_view password, const crypto::Bytes& salt,
                                         std::uint32_t iterations = kPasswordIterations);
// The stored form of a new password with a fresh random salt; nullopt when the system cannot make one.
std::optional<std::wstring> MakeStoredPassword(std::wstring_view password);

// True when the stored text is an old plain password (or empty: no password).
bool IsPlainStoredPassword(std::wstring_view stored);
// True when the stored text should be replaced by a hash made now: an old plain password, or a hash made with
// fewer iterations than today's.
bool NeedsNewHash(std::wstring_view stored);
// Whether the typed text is the password the stored text stands for, exactly (case and every character count).
// A stored text that is not in the hashed form is an old plain password and is compared as such. An empty stored
// text is no password, and nothing matches it: not even an empty entry.
bool PasswordMatches(std::wstring_view stored, std::wstring_view typed);

// Compares without an early exit, so the time taken says nothing of where two equal-length inputs differ.
bool ConstantTimeEquals(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

}  // namespace hc
