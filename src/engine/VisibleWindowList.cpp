#include "engine/VisibleWindowList.h"

#include <algorithm>
#include <unordered_map>

#include "engine/WindowRules.h"
#include "platform/Locale.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

namespace hc {

bool ExcludeWindow(std::wstring_view title) { return locale::UpperCase(title) == L"PROGRAM MANAGER"; }

bool IsIdeProcessPath(std::wstring_view processPath) {
    return locale::UpperCase(processPath).find(L"BIN\\BDS.EXE") != std::wstring::npos;
}

int ProgramIcons::GetImageIndex(const std::wstring& path) {
    const std::wstring key = locale::UpperCase(path);
    if (auto found = indexByPath_.find(key); found != indexByPath_.end()) return found->second;
    UniqueHicon icon = source_.SmallFileIcon(path);
    int index = -1;
    if (icon) {
        index = images_.Add(icon.get());
        if (index < 0) index = 0;
    }
    indexByPath_.emplace(key, index);
    return index;
}

VisibleWindowList::VisibleWindowList(WindowSystem& windows, ProcessSystem& processes)
    : windows_(windows), processes_(processes) {}

void VisibleWindowList::SetDecoyProcess(DecoyProcess process) {
    decoy_ = std::move(process);
    decoyAppHandle_ = nullptr;
}

void VisibleWindowList::ForgetEndedDecoy() {
    if (!decoy_.handle || !processes_.HasEnded(decoy_.handle.get())) return;
    decoy_ = DecoyProcess{};
    decoyAppHandle_ = nullptr;
}

void VisibleWindowList::RecognizeDecoy(HWND window, const std::wstring& title, DWORD processId) {
    if (decoyAppHandle_ || decoy_.id == 0 || title.empty()) return;
    if (processId == decoy_.id) decoyAppHandle_ = window;
}

void VisibleWindowList::DoGetWindows(const std::vector<HWND>& becomingVisible) {
    Clear();
    ForgetEndedDecoy();
    const DWORD own = processes_.OwnProcessId();
    // One query per process, not per window: many windows share a process.
    std::unordered_map<DWORD, ProcessInfo> infoByProcess;
    std::vector<OwnedPopup> popups;
    for (HWND window : windows_.TopLevelWindows()) {
        WindowFacts facts;
        facts.visible = windows_.IsVisible(window) ||
                        std::find(becomingVisible.begin(), becomingVisible.end(), window) != becomingVisible.end();
        if (!facts.visible) continue;
        facts.title = windows_.Title(window);
        windows_.ReadFacts(window, facts);
        RecognizeDecoy(window, facts.title, facts.processId);
        if (window == decoyAppHandle_) continue;
        if (IsOwnedPopup(facts, own)) {
            popups.push_back(OwnedPopup{facts.owner, window, facts.processId, 0});
            continue;
        }
        if (!IsListedWindow(facts, own) || ExcludeWindow(facts.title)) continue;
        auto [slot, isNew] = infoByProcess.try_emplace(facts.processId);
        if (isNew) {
            slot->second = processes_.Info(facts.processId);
            slot->second.imagePath = ProcessDisplayName(facts.processId, slot->second.imagePath);
        }
        if (IsIdeProcessPath(slot->second.imagePath)) continue;
        entries_.push_back(VisibleWindow{window, std::move(facts.title), slot->second.imagePath, facts.processId,
                                         slot->second.creationTime});
    }
    // Only the pop-ups of listed windows go with them; a pop-up of ours or of the shell stays.
    for (OwnedPopup& popup : popups) {
        if (std::none_of(entries_.begin(), entries_.end(), [&](const VisibleWindow& e) { return e.handle == popup.owner; }))
            continue;
        auto [slot, isNew] = infoByProcess.try_emplace(popup.processId);
        if (isNew) slot->second = processes_.Info(popup.processId);
        popup.processCreation = slot->second.creationTime;
        popups_.push_back(popup);
    }
}

void VisibleWindowList::RemoveAt(size_t index) {
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace hc
