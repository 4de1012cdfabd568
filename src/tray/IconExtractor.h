#pragma once
#include <windows.h>

#include <string>

#include "platform/Handles.h"

namespace hc {

// The icon chosen for the tray and the main window, with the file and index it came from.
class TIconExtractor {
public:
    static constexpr wchar_t kInitialFileName[] = L"%SystemRoot%\\SYSTEM32\\shell32.dll";
    static constexpr int kInitialIconIndex = 3;

    TIconExtractor();

    // Loads icon number iconIndex of the file and returns how many icons the file has. A file without that icon
    // leaves the icon as it was (the count is then 0 or too small).
    int Extract(const std::wstring& fileName, int iconIndex);

    const std::wstring& FileName() const { return fileName_; }
    int IconIndex() const { return iconIndex_; }
    int IconCount() const { return iconCount_; }
    int IconWidth() const { return iconWidth_; }
    int IconHeight() const { return iconHeight_; }
    HICON Icon() const { return icon_.get(); }
    HICON SmallIcon() const { return smallIcon_.get(); }
    // Whether the last Extract found its icon and made it the holder's.
    bool LastLoaded() const { return lastLoaded_; }

private:
    std::wstring fileName_;
    int iconIndex_ = 0;
    int iconCount_ = 0;
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    bool lastLoaded_ = false;
    UniqueHicon icon_;
    UniqueHicon smallIcon_;
};

}  // namespace hc
