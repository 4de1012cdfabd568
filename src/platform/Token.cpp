#include "platform/Token.h"

#include <windows.h>

#include "platform/Handles.h"

namespace hc::token {

bool IsElevated() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        token.release();
        return false;
    }
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return false;
    return elevation.TokenIsElevated != 0;
}

}  // namespace hc::token
