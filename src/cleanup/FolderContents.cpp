#include "cleanup/FolderContents.h"

#include <vector>

#include "platform/Files.h"
#include "platform/RecycleBin.h"
#include "platform/Shell.h"

namespace hc {

namespace {
bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// The parts between backslashes, empty parts included.
std::vector<std::wstring_view> Parts(std::wstring_view path) {
    std::vector<std::wstring_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = path.find(L'\\', start);
        parts.push_back(path.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
        if (end == std::wstring_view::npos) return parts;
        start = end + 1;
    }
}

bool PartsAreNames(const std::vector<std::wstring_view>& parts, size_t from) {
    for (size_t i = from; i < parts.size(); ++i)
        if (parts[i].empty() || parts[i] == L"." || parts[i] == L"..") return false;
    return true;
}
}  // namespace

bool IsDeletableFolderPath(std::wstring_view path) {
    if (path.find_first_of(L"*?/\"<>|") != std::wstring_view::npos) return false;
    if (path.size() >= 4 && IsLetter(path[0]) && path[1] == L':' && path[2] == L'\\') {
        if (path.find(L':', 2) != std::wstring_view::npos) return false;
        // "C:", then at least one folder name.
        return PartsAreNames(Parts(path.substr(3)), 0);
    }
    if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
        if (path.find(L':') != std::wstring_view::npos) return false;
        // "", "", server, share, then at least one folder name; "\\?\" and "\\.\" name no share.
        const auto parts = Parts(path);
        return parts.size() >= 5 && PartsAreNames(parts, 2);
    }
    return false;
}

bool DeleteFolderContents(const std::wstring& folder) {
    if (!IsDeletableFolderPath(folder) || !shell::FolderExists(folder)) return false;
    // Without a bin the shell deletes for good and silently; the entries then stay where they are.
    if (!recyclebin::RecyclesDeletionsAt(folder)) return false;
    const auto entries = files::FolderEntries(folder);
    if (!entries) return false;
    return recyclebin::MoveToRecycleBin(*entries);
}

}  // namespace hc
