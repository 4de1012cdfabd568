#pragma once
#include <windows.h>

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

}  // namespace hc::icons

namespace hc {

// What the icon picker answered.
struct IconChoice {
    enum class Outcome { Confirmed, Cancelled, Unavailable };
    Outcome outcome = Outcome::Cancelled;
    std::wstring file;  // the file and index the user confirmed
    int index = 0;
};

class IconPicker {
public:
    virtual ~IconPicker() = default;
    virtual IconChoice Pick(HWND owner, const std::wstring& file, int index) = 0;
};

// The shell's change-icon dialog (shell32 ordinal 62). Unavailable where the shell only has a stub of it
// (Wine answers -1 without showing anything).
class ShellIconPicker final : public IconPicker {
public:
    IconChoice Pick(HWND owner, const std::wstring& file, int index) override;
};

}  // namespace hc
