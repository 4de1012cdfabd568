#include "update/UpdateAddresses.h"

#include "platform/Files.h"
#include "settings/Configuration.h"

namespace hc {

namespace {
struct Origin {
    std::wstring schemeAndAuthority;  // "http://127.0.0.1:8765"
    std::wstring host;                // "127.0.0.1"
};

bool ParseOrigin(std::wstring_view address, Origin& origin) {
    const size_t schemeEnd = address.find(L"://");
    if (schemeEnd == std::wstring_view::npos || schemeEnd == 0) return false;
    const size_t authorityStart = schemeEnd + 3;
    size_t authorityEnd = address.find_first_of(L"/?#", authorityStart);
    if (authorityEnd == std::wstring_view::npos) authorityEnd = address.size();
    const std::wstring_view authority = address.substr(authorityStart, authorityEnd - authorityStart);
    const std::wstring_view host = authority.substr(0, authority.find(L':'));
    if (host.empty()) return false;
    origin.schemeAndAuthority.assign(address.substr(0, authorityEnd));
    origin.host.assign(host);
    return true;
}

// The address with its scheme and authority replaced by those of the origin.
std::wstring Redirect(std::wstring_view address, const Origin& origin) {
    Origin own;
    if (!ParseOrigin(address, own)) return std::wstring(address);
    return origin.schemeAndAuthority + std::wstring(address.substr(own.schemeAndAuthority.size()));
}
}  // namespace

UpdateAddresses ResolveUpdateAddresses(std::wstring_view serverOverride) {
    UpdateAddresses addresses{kUpdateServerName, kVersionFileUrl, kNewsFileUrl};
    Origin origin;
    if (serverOverride.empty() || !ParseOrigin(serverOverride, origin)) return addresses;
    addresses.serverName = origin.host;
    addresses.versionFileUrl = Redirect(addresses.versionFileUrl, origin);
    addresses.newsFileUrl = Redirect(addresses.newsFileUrl, origin);
    return addresses;
}

UpdateAddresses CurrentUpdateAddresses() {
    return ResolveUpdateAddresses(files::EnvironmentVariable(kUpdateServerVariable));
}

}  // namespace hc
