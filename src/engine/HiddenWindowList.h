#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace hc {

// One window the program has hidden (or closed, for the active-application close).
struct HiddenWindow {
    std::wstring handleText;  // unsigned decimal, as the list shows it
    std::wstring title;       // as it was when hidden
    std::wstring timeStamp;
};

// The windows the program has hidden, in the order of hiding. Kept in memory only.
using HiddenWindowList = std::vector<HiddenWindow>;

// The three time stamp forms, in the user's locale.
std::wstring DateAndTimeStamp(const SYSTEMTIME& moment);  // short date, a space, long time; no time at midnight
std::wstring TimeOnlyStamp(const SYSTEMTIME& moment);     // long time
std::wstring DateOnlyStamp(const SYSTEMTIME& moment);     // short date

}  // namespace hc
