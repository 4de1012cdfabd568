#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ImageList.h"

namespace hc {

class WindowSystem;

// One candidate window of another application.
struct VisibleWindow {
    HWND handle = nullptr;
    std::wstring title;
    std::wstring processPath;
    int imageIndex = -1;
};

// True for titles that are never listed: the desktop and the main window's own title, in any case.
bool ExcludeWindow(std::wstring_view title, std::wstring_view ownTitle);
// True for the executable path of the development environment, which is never touched.
bool IsIdeProcessPath(std::wstring_view processPath);

// The small icons of the listed programs: one image per distinct path, kept for the whole run.
class ProgramIcons {
public:
    // Index in the image list; -1 when the shell has no icon, 0 when adding it failed.
    int GetImageIndex(const std::wstring& path);
    int Count() const { return images_.Count(); }
    HIMAGELIST Images() const { return images_.get(); }

private:
    SmallImageList images_;
    std::map<std::wstring, int> indexByPath_;
};

// The visible top-level windows of other applications, in enumeration order.
class VisibleWindowList {
public:
    VisibleWindowList(WindowSystem& windows, std::wstring ownTitle);

    // Rebuilds the list from the windows on screen now. Windows just asked to show themselves count as visible:
    // they are shown asynchronously and may not have done so yet.
    void DoGetWindows(const std::vector<HWND>& becomingVisible = {});
    void Clear() { entries_.clear(); }
    void RemoveAt(size_t index);

    const std::vector<VisibleWindow>& Entries() const { return entries_; }
    const ProgramIcons& Icons() const { return icons_; }

    // The decoy's window is never listed; null when no decoy runs or its window has not appeared yet.
    HWND DecoyAppHandle() const { return decoyAppHandle_; }
    void SetDecoyAppHandle(HWND window) { decoyAppHandle_ = window; }
    // A decoy was started as this process: its first titled visible window becomes the decoy window.
    void SetDecoyProcess(DWORD processId) {
        decoyProcessId_ = processId;
        decoyAppHandle_ = nullptr;
    }

private:
    bool IsCandidate(HWND window, const std::wstring& title, const std::vector<HWND>& becomingVisible);
    void RecognizeDecoy(HWND window, const std::wstring& title);

    WindowSystem& windows_;
    std::wstring ownTitle_;
    ProgramIcons icons_;
    std::vector<VisibleWindow> entries_;
    HWND decoyAppHandle_ = nullptr;
    DWORD decoyProcessId_ = 0;
};

}  // namespace hc
