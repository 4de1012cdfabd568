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
    // The loopback host of an accepted override, the one host where plain http is allowed; empty without one.
    std::wstring testHost;
};

// The built-in https addresses, or with "scheme://host[:port]" of the override in place of their own. Only an
// http or https override of a loopback host (127.0.0.1, ::1, localhost) is honoured, so no environment
// variable can send the program to another server.
UpdateAddresses ResolveUpdateAddresses(std::wstring_view serverOverride);
// The same with the override taken from HUSHCLOAK_UPDATE_SERVER.
UpdateAddresses CurrentUpdateAddresses();

// The host of an address ("[::1]" without its brackets), lowercase; empty when it has none.
std::wstring HostOf(std::wstring_view address);
bool IsLoopbackHost(std::wstring_view host);
// An address the program may download from: https, or http on the loopback host of the test override.
bool IsAllowedDownloadUrl(std::wstring_view address, const UpdateAddresses& addresses);

}  // namespace hc
