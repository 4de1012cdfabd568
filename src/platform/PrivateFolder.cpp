#include "platform/PrivateFolder.h"

#include <aclapi.h>

#include <memory>
#include <vector>

#include "platform/Handles.h"

namespace hc::files {

namespace {
// The current user's SID, from the process token.
std::vector<BYTE> UserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    UniqueHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    std::vector<BYTE> sid(GetLengthSid(user->User.Sid));
    if (!CopySid(static_cast<DWORD>(sid.size()), sid.data(), user->User.Sid)) return {};
    return sid;
}

bool CreateWithParents(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
    const size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos || cut < 3) return false;
    return CreateWithParents(path.substr(0, cut)) &&
           (CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
}
}  // namespace

bool MakePrivateFolder(const std::wstring& path) {
    if (path.empty() || !CreateWithParents(path)) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    std::vector<BYTE> sid = UserSid();
    if (sid.empty()) return false;
    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_USER;
    access.Trustee.ptstrName = reinterpret_cast<LPWSTR>(sid.data());
    PACL acl = nullptr;
    if (SetEntriesInAclW(1, &access, nullptr, &acl) != ERROR_SUCCESS) return false;
    std::unique_ptr<ACL, decltype(&LocalFree)> ownedAcl(acl, &LocalFree);
    // Protected: nothing inherited from the parent folder adds another account.
    return SetNamedSecurityInfoW(const_cast<LPWSTR>(path.c_str()), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr, acl,
                                 nullptr) == ERROR_SUCCESS;
}

WriteLockedFile::WriteLockedFile(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)) {}

WriteLockedFile::~WriteLockedFile() { Release(); }

void WriteLockedFile::Release() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace hc::files
