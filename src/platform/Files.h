#pragma once
#include <optional>
#include <string>
#include <vector>

namespace hc::files {

// The full paths of every file and folder directly inside the folder ("." and ".." left out); nullopt when the
// folder cannot be read.
std::optional<std::vector<std::wstring>> FolderEntries(const std::wstring& folder);

// The folder of recently used documents (CSIDL_RECENT), no trailing separator; empty when it cannot be found.
std::wstring RecentDocumentsFolder();

}  // namespace hc::files
