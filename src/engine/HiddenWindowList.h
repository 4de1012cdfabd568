#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace hc {

// One window the program has hidden (or closed, for the active-application close).
struct HiddenWindow {
    HWND handle = nullptr;
    std::wstring title;       // as it was when hidden
    std::wstring timeStamp;
    // Whose window it was: a handle is shown again only while it still belongs to that process.
    DWORD processId = 0;
    std::uint64_t processCreation = 0;  // 0 when unknown
};

// The windows the program has hidden, in the order of hiding; the journal keeps a copy that outlives the process.
using HiddenWindowList = std::vector<HiddenWindow>;

// The three time stamp forms, in the user's locale.
std::wstring DateAndTimeStamp(const SYSTEMTIME& moment);  // short date, a space, long time; no time at midnight
std::wstring TimeOnlyStamp(const SYSTEMTIME& moment);     // long time
std::wstring DateOnlyStamp(const SYSTEMTIME& moment);     // short date

}  // namespace hc
