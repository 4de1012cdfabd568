#pragma once
#include <string>
#include <string_view>

namespace hc {

// A path whose contents may be deleted: a full path that starts at a drive ("C:\...") or a server share
// ("\\server\share\..."), below the root, with no wildcard, no "." or ".." part, no "/" and no trailing
// separator. Anything else (empty, relative, a drive root) could name a folder nobody chose.
bool IsDeletableFolderPath(std::wstring_view path);

// Moves everything inside the folder to the Recycle Bin, silently. Deletes nothing unless the path is
// deletable, names an existing folder, and lies where deletions go to a Recycle Bin. True when everything there
// was moved.
bool DeleteFolderContents(const std::wstring& folder);

}  // namespace hc
