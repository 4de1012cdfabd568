#include "platform/Crypto.h"

#include <windows.h>
#include <bcrypt.h>

namespace hc::crypto {

namespace {
bool Succeeded(NTSTATUS status) { return status >= 0; }

class AlgorithmProvider {
public:
    AlgorithmProvider(const wchar_t* algorithm, ULONG flags) {
        if (!Succeeded(BCryptOpenAlgorithmProvider(&handle_, algorithm, nullptr, flags))) handle_ = nullptr;
    }
    ~AlgorithmProvider() {
        if (handle_) BCryptCloseAlgorithmProvider(handle_, 0);
    }
    AlgorithmProvider(const AlgorithmProvider&) = delete;
    AlgorithmProvider& operator=(const AlgorithmProvider&) = delete;
    BCRYPT_ALG_HANDLE get() const { return handle_; }

private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
};
}  // namespace

std::optional<Bytes> RandomBytes(std::size_t count) {
    Bytes bytes(count);
    if (!Succeeded(
            BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()), BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        return std::nullopt;
    return bytes;
}

std::optional<Bytes> Pbkdf2Sha256(const void* secret, std::size_t secretBytes, const Bytes& salt,
                                  std::uint32_t iterations, std::size_t keyBytes) {
    const AlgorithmProvider hmac(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
    if (!hmac.get()) return std::nullopt;
    Bytes key(keyBytes);
    // The API takes non-const pointers but only reads the secret and the salt.
    auto* secretData = static_cast<PUCHAR>(const_cast<void*>(secret));
    auto* saltData = const_cast<PUCHAR>(salt.data());
    if (!Succeeded(BCryptDeriveKeyPBKDF2(hmac.get(), secretData, static_cast<ULONG>(secretBytes), saltData,
                                         static_cast<ULONG>(salt.size()), iterations, key.data(),
                                         static_cast<ULONG>(key.size()), 0)))
        return std::nullopt;
    return key;
}

}  // namespace hc::crypto
