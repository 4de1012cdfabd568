#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Collaborators.h"
#include "platform/Handles.h"
#include "platform/ImageList.h"

namespace hc {

class WindowSystem;
class ProcessSystem;
class IconSource;

// One candidate window of another application.
struct VisibleWindow {
    HWND handle = nullptr;
    std::wstring title;
    std::wstring processPath;
    DWORD processId = 0;
    std::uint64_t processCreation = 0;
};

// A pop-up that is hidden and shown together with the listed window that owns it.
struct OwnedPopup {
    HWND owner = nullptr;
    HWND handle = nullptr;
    DWORD processId = 0;
    std::uint64_t processCreation = 0;
};

// True for titles that are never listed: the desktop's, in any case. The program's own windows are left out by
// their process, not by a title that any program's window may carry.
bool ExcludeWindow(std::wstring_view title);
// True for the executable path of the development environment, which is never touched.
bool IsIdeProcessPath(std::wstring_view processPath);

// The small icons of the listed programs: one image per distinct path, kept for the whole run. Only the lists
// on screen use it: a panic never waits for an icon.
class ProgramIcons {
public:
    explicit ProgramIcons(IconSource& source) : source_(source) {}
    // Index in the image list; -1 when the shell has no icon, 0 when adding it failed.
    int GetImageIndex(const std::wstring& path);
    int Count() const { return images_.Count(); }
    HIMAGELIST Images() const { return images_.get(); }

private:
    IconSource& source_;
    SmallImageList images_;
    std::map<std::wstring, int> indexByPath_;
};

// The visible top-level windows of other applications, in enumeration order.
class VisibleWindowList {
public:
    VisibleWindowList(WindowSystem& windows, ProcessSystem& processes);

    // Rebuilds the list from the windows on screen now. Windows just asked to show themselves count as visible:
    // they are shown asynchronously and may not have done so yet.
    void DoGetWindows(const std::vector<HWND>& becomingVisible = {});
    void Clear() {
        entries_.clear();
        popups_.clear();
    }
    void RemoveAt(size_t index);

    const std::vector<VisibleWindow>& Entries() const { return entries_; }
    // The pop-ups owned by listed windows, in enumeration order.
    const std::vector<OwnedPopup>& Popups() const { return popups_; }

    // The decoy's window is never listed; null when no decoy runs or its window has not appeared yet.
    HWND DecoyAppHandle() const { return decoyAppHandle_; }
    void SetDecoyAppHandle(HWND window) { decoyAppHandle_ = window; }
    // A decoy was started as this process: its first titled visible window becomes the decoy window.
    void SetDecoyProcess(DecoyProcess process);
    // Forgets the decoy once its process has ended, before another process can take over its id.
    void ForgetEndedDecoy();

private:
    void RecognizeDecoy(HWND window, const std::wstring& title, DWORD processId);

    WindowSystem& windows_;
    ProcessSystem& processes_;
    std::vector<VisibleWindow> entries_;
    std::vector<OwnedPopup> popups_;
    HWND decoyAppHandle_ = nullptr;
    DecoyProcess decoy_;
};

}  // namespace hc
