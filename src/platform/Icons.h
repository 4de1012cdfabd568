#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/Handles.h"

namespace hc::icons {

// The number of icons in a file (environment variables in the name are expanded); 0 when it has none or
// cannot be read.
int CountIcons(const std::wstring& file);

// Icon number index of a file, large (32 x 32) and small; both empty when the file has no such icon.
struct IconPair {
    UniqueHicon large;
    UniqueHicon small;
};
IconPair Extract(const std::wstring& file, int index);

// An icon of this program's resources at the system's small or large size; the system's application icon when
// the running program has no such resource (the test programs).
UniqueHicon ProgramIcon(int resourceId, bool small);

// The shell's change-icon dialog (shell32 ordinal 62). The file and index the user confirmed; nullopt on
// Cancel or when the dialog cannot be shown.
struct IconChoice {
    std::wstring file;
    int index = 0;
};
std::optional<IconChoice> PickIcon(HWND owner, const std::wstring& file, int index);

}  // namespace hc::icons
