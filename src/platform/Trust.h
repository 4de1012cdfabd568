#pragma once
#include <windows.h>

#include <string>

namespace hc::trust {

struct SignatureCheck {
    // ERROR_SUCCESS (0) when the signature, the chain up to a trusted root and the revocation status of every
    // certificate below the root verify; otherwise the failing code (TRUST_E_NOSIGNATURE for an unsigned file).
    LONG result = TRUST_E_NOSIGNATURE;
    // SHA-256 of the signing certificate's public key (its DER SubjectPublicKeyInfo), lowercase hex; empty when
    // the file has no readable signer.
    std::string signerKeySha256;
};

// Checks the Authenticode signature of the file behind the open handle, reading through it, so the bytes that
// are checked are the bytes of that handle's file. Revocation is checked online for the whole chain.
SignatureCheck CheckFileSignature(const std::wstring& path, HANDLE file);

// The same for a file opened here; only the result.
LONG VerifyFileSignature(const std::wstring& path);

}  // namespace hc::trust
