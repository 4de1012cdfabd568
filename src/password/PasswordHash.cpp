#include "password/PasswordHash.h"

#include <cwchar>

namespace hc {

namespace {
// More than any sane setting; a bigger count in a tampered value would make every check hang.
constexpr std::uint32_t kMaxIterations = 10000000;
constexpr wchar_t kHexDigits[] = L"0123456789abcdef";

std::wstring Hex(const crypto::Bytes& bytes) {
    std::wstring text;
    for (std::uint8_t b : bytes) {
        text += kHexDigits[b >> 4];
        text += kHexDigits[b & 0xF];
    }
    return text;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

std::optional<crypto::Bytes> FromHex(std::wstring_view text, std::size_t bytes) {
    if (text.size() != bytes * 2) return std::nullopt;
    crypto::Bytes result;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        result.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return result;
}

std::optional<std::uint32_t> Count(std::wstring_view text) {
    if (text.empty() || text.size() > 8 || text[0] == L'0') return std::nullopt;
    std::uint32_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - L'0');
    }
    if (value > kMaxIterations) return std::nullopt;
    return value;
}

std::span<const std::uint8_t> AsBytes(std::wstring_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size() * sizeof(wchar_t)};
}
}  // namespace

std::wstring FormatPasswordHash(const PasswordHash& hash) {
    return kPasswordHashPrefix + std::to_wstring(hash.iterations) + L"$" + Hex(hash.salt) + L"$" + Hex(hash.hash);
}

std::optional<PasswordHash> ParsePasswordHash(std::wstring_view text) {
    const std::wstring_view prefix = kPasswordHashPrefix;
    if (!text.starts_with(prefix)) return std::nullopt;
    text.remove_prefix(prefix.size());
    const auto countEnd = text.find(L'$');
    if (countEnd == std::wstring_view::npos) return std::nullopt;
    const auto saltEnd = text.find(L'$', countEnd + 1);
    if (saltEnd == std::wstring_view::npos) return std::nullopt;
    const auto iterations = Count(text.substr(0, countEnd));
    auto salt = FromHex(text.substr(countEnd + 1, saltEnd - countEnd - 1), kPasswordSaltBytes);
    auto hash = FromHex(text.substr(saltEnd + 1), kPasswordHashBytes);
    if (!iterations || !salt || !hash) return std::nullopt;
    return PasswordHash{*iterations, std::move(*salt), std::move(*hash)};
}

std::optional<PasswordHash> HashPassword(std::wstring_view password, const crypto::Bytes& salt,
                                         std::uint32_t iterations) {
    // The UTF-16 units as typed: no conversion that could make two different texts alike.
    const auto secret = AsBytes(password);
    auto hash = crypto::Pbkdf2Sha256(secret.data(), secret.size(), salt, iterations, kPasswordHashBytes);
    if (!hash) return std::nullopt;
    return PasswordHash{iterations, salt, std::move(*hash)};
}

std::optional<std::wstring> MakeStoredPassword(std::wstring_view password) {
    const auto salt = crypto::RandomBytes(kPasswordSaltBytes);
    if (!salt) return std::nullopt;
    const auto hash = HashPassword(password, *salt);
    if (!hash) return std::nullopt;
    return FormatPasswordHash(*hash);
}

bool IsPlainStoredPassword(std::wstring_view stored) { return !ParsePasswordHash(stored); }

bool NeedsNewHash(std::wstring_view stored) {
    const auto parsed = ParsePasswordHash(stored);
    return !parsed || parsed->iterations < kPasswordIterations;
}

bool PasswordMatches(std::wstring_view stored, std::wstring_view typed) {
    if (stored.empty()) return false;
    const auto expected = ParsePasswordHash(stored);
    if (!expected) return ConstantTimeEquals(AsBytes(stored), AsBytes(typed));
    const auto actual = HashPassword(typed, expected->salt, expected->iterations);
    return actual && ConstantTimeEquals(actual->hash, expected->hash);
}

bool ConstantTimeEquals(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    if (a.size() != b.size()) return false;
    // volatile keeps the compiler from turning the loop back into an early exit.
    volatile std::uint8_t difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) difference = difference | static_cast<std::uint8_t>(a[i] ^ b[i]);
    return difference == 0;
}

}  // namespace hc
