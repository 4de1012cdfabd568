#pragma once
#include <string>
#include <vector>

namespace hc::recyclebin {

// Empties the Recycle Bins of every drive, without asking and without a sound. False when the shell refused.
bool EmptyAll();
// Moves these files and folders (full paths) to the Recycle Bin without any dialog. False when the shell
// reported a failure or left some out.
bool MoveToRecycleBin(const std::vector<std::wstring>& paths);

}  // namespace hc::recyclebin
