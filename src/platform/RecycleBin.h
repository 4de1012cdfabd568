#pragma once
#include <string>
#include <vector>

namespace hc::recyclebin {

// Empties the Recycle Bins of every drive, without asking and without a sound. False when the shell refused.
bool EmptyAll();
// Moves these files and folders (full paths) to the Recycle Bin without any dialog. False when the shell
// reported a failure or left some out.
bool MoveToRecycleBin(const std::vector<std::wstring>& paths);
// Whether a deletion with undo at this path goes to a Recycle Bin. False on a share or a network drive, on a
// drive of another kind than a fixed one, and where the user's settings or a policy say "delete at once": there
// the shell would destroy the files for good, without a word.
bool RecyclesDeletionsAt(const std::wstring& path);

}  // namespace hc::recyclebin
