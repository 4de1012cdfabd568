#include "platform/Trust.h"

#include <bcrypt.h>
#include <softpub.h>
#include <wintrust.h>


#include "platform/Handles.h"

namespace hc::trust {

namespace {
std::string Sha256Hex(const BYTE* data, DWORD size) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return {};
    unsigned char digest[32]{};
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool done = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
    done = done && BCryptHashData(hash, const_cast<BYTE*>(data), size, 0) == 0 &&
           BCryptFinishHash(hash, digest, sizeof(digest), 0) == 0;
    if (hash) BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!done) return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    return text;
}

// The key that the pin compares: it survives a renewed certificate with the same key.
std::string PublicKeyHash(const CERT_CONTEXT* certificate) {
    BYTE* encoded = nullptr;
    DWORD size = 0;
    if (!CryptEncodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, &certificate->pCertInfo->SubjectPublicKeyInfo,
                             CRYPT_ENCODE_ALLOC_FLAG, nullptr, &encoded, &size))
        return {};
    std::string hash = Sha256Hex(encoded, size);
    LocalFree(encoded);
    return hash;
}

// The signer's chain built once more with every certificate below the root checked against its issuer's
// revocation list: Wine's verifier leaves revocation out whatever it is asked, Windows' has done it already.
LONG RevocationError(const CERT_CONTEXT* signerCertificate) {
    CERT_CHAIN_PARA parameters{};
    parameters.cbSize = sizeof(parameters);
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    // The signature's own certificates (the intermediate ones) are in the signer certificate's store.
    if (!CertGetCertificateChain(nullptr, signerCertificate, nullptr, signerCertificate->hCertStore, &parameters,
                                 CERT_CHAIN_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT, nullptr, &chain))
        return CERT_E_REVOCATION_FAILURE;
    LONG result = 0;
    for (DWORD c = 0; c < chain->cChain && result == 0; ++c) {
        const CERT_SIMPLE_CHAIN* simple = chain->rgpChain[c];
        for (DWORD e = 0; e < simple->cElement && result == 0; ++e) {
            const DWORD errors = simple->rgpElement[e]->TrustStatus.dwErrorStatus;
            // A revoked certificate, or one whose status could not be learned, is never ours to run.
            if (errors & CERT_TRUST_IS_REVOKED)
                result = CERT_E_REVOKED;
            else if (errors & (CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION))
                result = CERT_E_REVOCATION_FAILURE;
        }
    }
    CertFreeCertificateChain(chain);
    return result;
}

// Wine's verifier accepts a well-formed signature from any root, so the chain policy is asked as well; on
// Windows it repeats what the verifier already insisted on.
LONG SignerChainError(const CRYPT_PROVIDER_SGNR* signer) {
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof(policy);
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof(status);
    if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_BASE, signer->pChainContext, &policy, &status))
        return CERT_E_CHAINING;
    if (status.dwError != 0) return static_cast<LONG>(status.dwError);
    return RevocationError(signer->pChainContext->rgpChain[0]->rgpElement[0]->pCertContext);
}
}  // namespace

SignatureCheck CheckFileSignature(const std::wstring& path, HANDLE file) {
    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof(fileInfo);
    fileInfo.pcwszFilePath = path.c_str();
    fileInfo.hFile = file;

    WINTRUST_DATA data{};
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT;

    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    SignatureCheck check;
    check.result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    const CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(data.hWVTStateData);
    const CRYPT_PROVIDER_SGNR* signer =
        provider ? WTHelperGetProvSignerFromChain(const_cast<CRYPT_PROVIDER_DATA*>(provider), 0, FALSE, 0) : nullptr;
    if (signer && signer->pChainContext && signer->pChainContext->cChain > 0 &&
        signer->pChainContext->rgpChain[0]->cElement > 0) {
        check.signerKeySha256 = PublicKeyHash(signer->pChainContext->rgpChain[0]->rgpElement[0]->pCertContext);
        if (check.result == ERROR_SUCCESS) check.result = SignerChainError(signer);
    } else if (check.result == ERROR_SUCCESS) {
        check.result = TRUST_E_NOSIGNATURE;
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return check;
}

LONG VerifyFileSignature(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return static_cast<LONG>(HRESULT_FROM_WIN32(GetLastError()));
    }
    return CheckFileSignature(path, file.get()).result;
}

}  // namespace hc::trust
