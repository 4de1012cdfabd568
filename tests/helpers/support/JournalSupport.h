#pragma once
#include <windows.h>

#include <vector>

namespace hctest {

// Stores the journal that a run killed while these windows were hidden would have left (this boot, each
// window with its process and that process's start time).
bool StoreJournalOfKilledRun(const std::vector<HWND>& hidden);

}  // namespace hctest
