#pragma once
#include <windows.h>

#include <string>

namespace hc::trust {

// Checks the file's Authenticode signature with the whole certificate chain: ERROR_SUCCESS (0) when it
// verifies, otherwise WinVerifyTrust's code (TRUST_E_NOSIGNATURE for an unsigned file).
LONG VerifyFileSignature(const std::wstring& path);

}  // namespace hc::trust
