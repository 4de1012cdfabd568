#include "engine/VisibleWindowList.h"

#include <algorithm>
#include <unordered_map>

#include "platform/Locale.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

namespace hc {

bool ExcludeWindow(std::wstring_view title, std::wstring_view ownTitle) {
    const std::wstring upper = locale::UpperCase(title);
    return upper == locale::UpperCase(ownTitle) || upper == L"PROGRAM MANAGER";
}

bool IsIdeProcessPath(std::wstring_view processPath) {
    return locale::UpperCase(processPath).find(L"BIN\\BDS.EXE") != std::wstring::npos;
}

int ProgramIcons::GetImageIndex(const std::wstring& path) {
    const std::wstring key = locale::UpperCase(path);
    if (auto found = indexByPath_.find(key); found != indexByPath_.end()) return found->second;
    UniqueHicon icon = shell::SmallFileIcon(path);
    int index = -1;
    if (icon) {
        index = images_.Add(icon.get());
        if (index < 0) index = 0;
    }
    indexByPath_.emplace(key, index);
    return index;
}

VisibleWindowList::VisibleWindowList(WindowSystem& windows, std::wstring ownTitle)
    : windows_(windows), ownTitle_(std::move(ownTitle)) {}

bool VisibleWindowList::IsCandidate(HWND window, const std::wstring& title, const std::vector<HWND>& becomingVisible) {
    if (title.empty() || window == decoyAppHandle_ || ExcludeWindow(title, ownTitle_)) return false;
    return windows_.IsVisible(window) ||
           std::find(becomingVisible.begin(), becomingVisible.end(), window) != becomingVisible.end();
}

void VisibleWindowList::RecognizeDecoy(HWND window, const std::wstring& title) {
    if (decoyAppHandle_ || decoyProcessId_ == 0 || title.empty() || !windows_.IsVisible(window)) return;
    if (windows_.ProcessId(window) == decoyProcessId_) decoyAppHandle_ = window;
}

void VisibleWindowList::DoGetWindows(const std::vector<HWND>& becomingVisible) {
    entries_.clear();
    // One path query per process, not per window: many windows share a process.
    std::unordered_map<DWORD, std::wstring> pathByProcess;
    for (HWND window : windows_.TopLevelWindows()) {
        std::wstring title = windows_.Title(window);
        RecognizeDecoy(window, title);
        if (!IsCandidate(window, title, becomingVisible)) continue;
        const DWORD processId = windows_.ProcessId(window);
        auto [slot, isNew] = pathByProcess.try_emplace(processId);
        if (isNew) slot->second = processes::ImagePath(processId);
        const std::wstring& path = slot->second;
        if (IsIdeProcessPath(path)) continue;
        entries_.push_back(VisibleWindow{window, std::move(title), path, icons_.GetImageIndex(path)});
    }
}

void VisibleWindowList::RemoveAt(size_t index) {
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace hc
