#include "update/UpdateAddresses.h"

#include <cwctype>

#include "platform/Files.h"
#include "settings/Configuration.h"

namespace hc {

namespace {
struct Origin {
    std::wstring scheme;              // "http", lowercase
    std::wstring schemeAndAuthority;  // "http://127.0.0.1:8765"
    std::wstring host;                // "127.0.0.1", lowercase, an IPv6 address without its brackets
};

std::wstring Lower(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    return lower;
}

bool ParseOrigin(std::wstring_view address, Origin& origin) {
    const size_t schemeEnd = address.find(L"://");
    if (schemeEnd == std::wstring_view::npos || schemeEnd == 0) return false;
    const size_t authorityStart = schemeEnd + 3;
    size_t authorityEnd = address.find_first_of(L"/?#\\", authorityStart);
    if (authorityEnd == std::wstring_view::npos) authorityEnd = address.size();
    std::wstring_view authority = address.substr(authorityStart, authorityEnd - authorityStart);
    // "user@host" would make the host something else than it seems.
    if (authority.find(L'@') != std::wstring_view::npos) return false;
    std::wstring_view host;
    if (authority.starts_with(L'[')) {
        const size_t close = authority.find(L']');
        if (close == std::wstring_view::npos) return false;
        host = authority.substr(1, close - 1);
        if (close + 1 < authority.size() && authority[close + 1] != L':') return false;
    } else {
        host = authority.substr(0, authority.find(L':'));
    }
    if (host.empty()) return false;
    origin.scheme = Lower(address.substr(0, schemeEnd));
    origin.schemeAndAuthority.assign(address.substr(0, authorityEnd));
    origin.host = Lower(host);
    return true;
}

// The address with its scheme and authority replaced by those of the origin.
std::wstring Redirect(std::wstring_view address, const Origin& origin) {
    Origin own;
    if (!ParseOrigin(address, own)) return std::wstring(address);
    return origin.schemeAndAuthority + std::wstring(address.substr(own.schemeAndAuthority.size()));
}
}  // namespace

std::wstring HostOf(std::wstring_view address) {
    Origin origin;
    return ParseOrigin(address, origin) ? origin.host : std::wstring();
}

bool IsLoopbackHost(std::wstring_view host) { return host == L"127.0.0.1" || host == L"::1" || host == L"localhost"; }

bool IsAllowedDownloadUrl(std::wstring_view address, const UpdateAddresses& addresses) {
    Origin origin;
    if (!ParseOrigin(address, origin)) return false;
    if (origin.scheme == L"https") return true;
    return origin.scheme == L"http" && !addresses.testHost.empty() && origin.host == addresses.testHost;
}

UpdateAddresses ResolveUpdateAddresses(std::wstring_view serverOverride) {
    UpdateAddresses addresses{kUpdateServerName, kVersionFileUrl, kNewsFileUrl, {}};
    Origin origin;
    if (serverOverride.empty() || !ParseOrigin(serverOverride, origin)) return addresses;
    if (!IsLoopbackHost(origin.host) || (origin.scheme != L"http" && origin.scheme != L"https")) return addresses;
    addresses.serverName = origin.host;
    addresses.versionFileUrl = Redirect(addresses.versionFileUrl, origin);
    addresses.newsFileUrl = Redirect(addresses.newsFileUrl, origin);
    addresses.testHost = origin.host;
    return addresses;
}

UpdateAddresses CurrentUpdateAddresses() {
    return ResolveUpdateAddresses(files::EnvironmentVariable(kUpdateServerVariable));
}

}  // namespace hc
