#include "platform/Trust.h"

#include <softpub.h>
#include <wintrust.h>

namespace hc::trust {

namespace {
// The signer's chain must end in a trusted root. Windows' verifier already insists on it; Wine's accepts a
// well-formed signature from any root, so the program asks the chain itself.
LONG SignerChainError(HANDLE state) {
    const CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(state);
    const CRYPT_PROVIDER_SGNR* signer =
        provider ? WTHelperGetProvSignerFromChain(const_cast<CRYPT_PROVIDER_DATA*>(provider), 0, FALSE, 0) : nullptr;
    if (!signer || !signer->pChainContext) return TRUST_E_NOSIGNATURE;
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof(policy);
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof(status);
    if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_BASE, signer->pChainContext, &policy, &status))
        return CERT_E_CHAINING;
    return static_cast<LONG>(status.dwError);
}
}  // namespace

LONG VerifyFileSignature(const std::wstring& path) {
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof(file);
    file.pcwszFilePath = path.c_str();

    WINTRUST_DATA data{};
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    // Revocation lists would need the network; the chain up to a trusted root is still checked in full.
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;

    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    LONG result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    if (result == ERROR_SUCCESS) result = SignerChainError(data.hWVTStateData);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return result;
}

}  // namespace hc::trust
