#pragma once
#include <string>
#include <string_view>

namespace hc {

inline constexpr wchar_t kUpdateServerVariable[] = L"HUSHCLOAK_UPDATE_SERVER";

// Where the update check goes: the host the reachability check asks and the two file addresses.
struct UpdateAddresses {
    std::wstring serverName;
    std::wstring versionFileUrl;
    std::wstring newsFileUrl;
};

// The built-in addresses, or with "scheme://host[:port]" of the override in place of their own. An override
// without a scheme or a host is ignored.
UpdateAddresses ResolveUpdateAddresses(std::wstring_view serverOverride);
// The same with the override taken from HUSHCLOAK_UPDATE_SERVER.
UpdateAddresses CurrentUpdateAddresses();

}  // namespace hc
