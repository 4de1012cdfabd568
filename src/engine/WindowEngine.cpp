#include "engine/WindowEngine.h"

#include <algorithm>
#include <utility>

#include "engine/WindowRules.h"
#include "platform/Locale.h"
#include "platform/Processes.h"
#include "platform/WindowSystem.h"
#include "settings/Configuration.h"
#include "settings/Conversions.h"
#include "settings/KeepVisible.h"
#include "settings/Settings.h"

namespace hc {

namespace {

bool IsDesktopTitle(const std::wstring& title) { return locale::SameTextIgnoringCase(title, kDesktopTitle); }

// A window that a restore, or the restore at exit, would leave hidden is never hidden at all.
bool NeverHidden(const std::wstring& title) {
    return IsDesktopTitle(title) || RestoreLeavesHidden(title);
}
}  // namespace

WindowEngine::WindowEngine(const EngineParts& parts)
    : windows_(parts.windows),
      processes_(parts.processes),
      visible_(parts.visible),
      settings_(parts.settings),
      shell_(parts.shell),
      switches_(parts.switches),
      cleanup_(parts.cleanup),
      prompt_(parts.prompt),
      journal_(parts.journal) {}

bool WindowEngine::IsOwnWindow(HWND window) { return windows_.ProcessId(window) == processes_.OwnProcessId(); }

bool WindowEngine::BelongsToItsProcess(const HiddenWindow& entry, HWND window) {
    if (!window) return false;
    // The process of a window that is gone is 0, which no entry but an old one without a process has.
    return entry.processId == 0 ? windows_.Exists(window) : windows_.ProcessId(window) == entry.processId;
}

HiddenWindow WindowEngine::EntryFor(HWND window, const std::wstring& title, const std::wstring& stamp,
                                    DWORD processId, std::uint64_t creation) {
    return HiddenWindow{window, title, stamp, processId, creation};
}

void WindowEngine::SaveJournal() {
    // A journal that cannot be written must not stop a panic or a restore: hiding is what the user asked for.
    journal_.Save(hidden_);
}

void WindowEngine::ShowHideWindow(int show, HWND window) {
    if (settings_.fHidePanicBtn) shell_.ClosePanicButton();
    if (show == 0) {
        if (window != shell_.PanicButtonWindow()) windows_.HideAsync(window);
        return;
    }
    windows_.ShowAsync(window, SW_SHOWNA);
    shell_.SetTrayIconActive(true);
}

void WindowEngine::RecordAndHide(std::vector<HiddenWindow> entries, HWND foreground) {
    const HWND panicButton = shell_.PanicButtonWindow();
    // A window that closed since it was seen has no process to record it by: there is nothing to hide either.
    std::erase_if(entries, [&](const HiddenWindow& entry) {
        const HWND window = entry.handle;
        return window == panicButton || entry.processId == 0 || !windows_.Exists(window);
    });
    if (entries.empty()) return;
    // Listed from the front of the stacking back, the window in front last (the activation moves at most once),
    // so the restore that walks the list gives that window the foreground as the last one shown.
    std::stable_partition(entries.begin(), entries.end(),
                          [&](const HiddenWindow& entry) { return entry.handle != foreground; });
    hidden_.insert(hidden_.end(), entries.begin(), entries.end());
    SaveJournal();  // before anything is hidden: a crash from here on loses no window
    if (settings_.fHidePanicBtn) shell_.ClosePanicButton();
    // Taken away from the back of the stacking forward: a window hidden in front of others would uncover them, and
    // their programs would draw what is about to go too (a third of the hide of 200 windows of one program). The
    // restore gives them back from the front, where each window shown is mostly covered by those before it.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        if (entry->handle != foreground) windows_.HideInPlaceAsync(entry->handle);
    if (entries.back().handle == foreground) {
        windows_.HideAsync(foreground);
        frontAtHide_ = foreground;
    }
}

bool WindowEngine::DoHideAllWindows(int) {
    try {
        // The dispatcher has already taken the program's own windows off the screen.
        visible_.DoGetWindows();
        // Copies: the collaborators called below may pump messages and start another rebuild.
        const std::vector<VisibleWindow> listed = visible_.Entries();
        const std::vector<OwnedPopup> popups = visible_.Popups();
        const std::wstring stamp = DateAndTimeStamp(locale::Now());
        std::vector<HiddenWindow> entries;
        for (const VisibleWindow& window : listed) {
            if (NeverHidden(window.title) || IsKeptVisible(settings_.KeepVisible, window.processPath)) continue;
            entries.push_back(EntryFor(window.handle, window.title, stamp, window.processId, window.processCreation));
            for (const OwnedPopup& popup : popups)
                if (popup.owner == window.handle)
                    entries.push_back(EntryFor(popup.handle, L"", stamp, popup.processId, popup.processCreation));
        }
        RecordAndHide(std::move(entries), windows_.Foreground());
        return true;
    } catch (...) {
        return false;  // quietly: what was hidden so far stays hidden and listed
    }
}

HWND WindowEngine::ActiveTarget(Sender sender) {
    // From the Panic Button the foreground is the button itself: take the window that was in front before.
    return sender == Sender::PanicButton ? shell_.LastActiveHandle() : windows_.Foreground();
}

bool WindowEngine::HideActiveWindow(HWND target) {
    try {
        CloseMainWindowIfVisible();
        const std::wstring title = windows_.Title(target);
        if (IsDesktopTitle(title)) return true;
        if (title.empty() || !windows_.IsVisible(target) || IsOwnWindow(target) || NeverHidden(title)) return true;
        const DWORD processId = windows_.ProcessId(target);
        const ProcessInfo process = processes_.Info(processId);
        if (IsKeptVisible(settings_.KeepVisible, process.imagePath)) return true;
        const std::uint64_t creation = process.creationTime;
        const std::wstring stamp = DateAndTimeStamp(locale::Now());
        std::vector<HiddenWindow> entries{EntryFor(target, title, stamp, processId, creation)};
        const auto creationOf = [&](DWORD popupProcess) {
            return popupProcess == processId ? creation : processes_.Info(popupProcess).creationTime;
        };
        // Its pop-ups go with it; the program's other windows stay.
        for (HWND window : windows_.TopLevelWindows()) {
            if (!windows_.IsVisible(window)) continue;
            WindowFacts facts;
            facts.visible = true;
            facts.title = windows_.Title(window);
            windows_.ReadFacts(window, facts);
            if (facts.owner == target && IsOwnedPopup(facts, processes_.OwnProcessId()))
                entries.push_back(EntryFor(window, L"", stamp, facts.processId, creationOf(facts.processId)));
        }
        RecordAndHide(std::move(entries), target);
        return true;
    } catch (...) {
        return false;
    }
}

void WindowEngine::ShowRange(size_t first, size_t last) {
    last = std::min(last, hidden_.size());
    first = std::min(first, last);
    const bool everything = first == 0 && last == hidden_.size();
    // A copy: nothing below may see the list change under it.
    const auto begin = hidden_.begin() + static_cast<std::ptrdiff_t>(first);
    const auto end = hidden_.begin() + static_cast<std::ptrdiff_t>(last);
    const HiddenWindowList restoring(begin, end);
    HiddenWindowList kept;
    std::vector<HWND> shown;
    for (const HiddenWindow& entry : restoring) {
        try {
            const HWND window = entry.handle;
            // A window that is gone, or whose handle now belongs to another program, is dropped silently.
            if (RestoreLeavesHidden(entry.title) || !BelongsToItsProcess(entry, window)) continue;
            // Without activation, in its own size, place and state: no focus moves 200 times over. The window
            // that was in front at the hide takes the foreground back, once.
            const bool passedOn =
                window == frontAtHide_ ? windows_.ShowActivatedAsync(window) : windows_.ShowInPlaceAsync(window);
            if (passedOn)
                shown.push_back(window);
            else
                kept.push_back(entry);  // refused: the next restore tries it again
        } catch (...) {
            kept.push_back(entry);  // stays listed: the next restore tries it again
        }
    }
    const auto at = hidden_.erase(begin, end);
    hidden_.insert(at, kept.begin(), kept.end());
    SaveJournal();
    if (everything) GiveBackOwnWindows();
    if (shown.empty()) return;
    if (settings_.fHidePanicBtn) shell_.ClosePanicButton();
    shell_.SetTrayIconActive(true);
    if (std::find(shown.begin(), shown.end(), frontAtHide_) != shown.end()) frontAtHide_ = nullptr;
    // The visible list is not rebuilt here, while the windows are still being shown: asking 200 windows for their
    // titles then competes with their program for the window server. Whoever shows the list rebuilds it first.
    // Once per restore, and only what the panic muted (the clean-up remembers that).
    if (settings_.cbMuteAudio) cleanup_.SetAudioMute(false);
}

void WindowEngine::RestoreWindows() { ShowRange(0, hidden_.size()); }

void WindowEngine::RestoreFrom(size_t index) { ShowRange(index, hidden_.size()); }

void WindowEngine::HideSelectedWindow(size_t visibleIndex) {
    if (visibleIndex >= visible_.Entries().size()) return;
    const VisibleWindow window = visible_.Entries()[visibleIndex];
    const std::wstring stamp = TimeOnlyStamp(locale::Now());
    std::vector<HiddenWindow> entries{
        EntryFor(window.handle, window.title, stamp, window.processId, window.processCreation)};
    for (const OwnedPopup& popup : visible_.Popups())
        if (popup.owner == window.handle)
            entries.push_back(EntryFor(popup.handle, L"", stamp, popup.processId, popup.processCreation));
    RecordAndHide(std::move(entries), nullptr);
    visible_.RemoveAt(visibleIndex);
}

void WindowEngine::ShowSelectedWindow(size_t hiddenIndex) {
    if (hiddenIndex < hidden_.size()) ShowRange(hiddenIndex, hiddenIndex + 1);
}

void WindowEngine::ShowAllWindows() { RestoreWindows(); }

void WindowEngine::CloseMainWindowIfVisible() {
    if (shell_.IsMainWindowVisible()) shell_.CloseMainWindow();
}

void WindowEngine::CloseApplicationWindows() {
    if (settings_.cbHideIcon) shell_.SetTrayIconActive(false);
    if (switches_.HasAdministratorRights()) switches_.SetTaskManagerDisabled(settings_.cbTaskManager);
    CloseMainWindowIfVisible();
    prompt_.Cancel();  // also a set-password dialog, which is no unhide prompt; nothing when nothing is open
    shell_.CloseAboutWindow();
    TakeOwnWindowsOffScreen();
}

void WindowEngine::TakeOwnWindowsOffScreen() {
    // Whatever is still on the screen would tell anyone what just happened: questions end as their Cancel
    // (nothing is stored), a window holding work is hidden and given back at the restore.
    const HWND panicButton = shell_.PanicButtonWindow();  // it follows its own rule
    for (HWND window : windows_.OwnTopLevelWindows()) {
        if (window == panicButton || !windows_.IsVisible(window)) continue;
        if (windows_.HoldsWork(window)) {
            windows_.HoldWork(window, true);
            windows_.HideAsync(window);
            if (std::find(ownHidden_.begin(), ownHidden_.end(), window) == ownHidden_.end())
                ownHidden_.push_back(window);
        } else {
            windows_.CloseAsCancel(window);
        }
    }
}

void WindowEngine::GiveBackOwnWindows() {
    const std::vector<HWND> windows = std::exchange(ownHidden_, {});
    // Still marked: a handle of a window that closed meanwhile is no longer ours to show.
    for (HWND window : windows) {
        if (!windows_.Exists(window) || !windows_.HoldsWork(window)) continue;
        windows_.HoldWork(window, false);
        windows_.ShowAsync(window, SW_SHOWNA);
    }
}

bool WindowEngine::DoCloseAllWindows(int) {
    try {
        CloseMainWindowIfVisible();
        visible_.DoGetWindows();
        const std::vector<VisibleWindow> listed = visible_.Entries();
        // Each listed window is asked itself: two windows of one title are both asked, once each.
        for (const VisibleWindow& window : listed) {
            if (IsDesktopTitle(window.title) || RestoreLeavesHidden(window.title) ||
                IsKeptVisible(settings_.KeepVisible, window.processPath))
                continue;
            windows_.PostClose(window.handle);
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool WindowEngine::CloseActiveWindow(HWND target) {
    try {
        CloseMainWindowIfVisible();
        const std::wstring title = windows_.Title(target);
        if (IsDesktopTitle(title)) return true;
        if (title.empty() || !windows_.IsVisible(target) || IsOwnWindow(target)) return true;
        const DWORD processId = windows_.ProcessId(target);
        const ProcessInfo process = processes_.Info(processId);
        if (IsKeptVisible(settings_.KeepVisible, process.imagePath)) return true;
        hidden_.push_back(EntryFor(target, title, DateOnlyStamp(locale::Now()), processId, process.creationTime));
        SaveJournal();
        windows_.PostClose(target);
        return true;
    } catch (...) {
        return false;
    }
}

bool WindowEngine::DoDecoyApp() {
    visible_.ForgetEndedDecoy();
    const HWND decoy = visible_.DecoyAppHandle();
    if (!decoy) return false;
    // The decoy's window is never in the visible list, so it is looked up directly.
    if (!windows_.Exists(decoy)) {
        visible_.SetDecoyAppHandle(nullptr);
        return false;
    }
    if (!windows_.IsVisible(decoy)) windows_.ShowAsync(decoy, SW_SHOWMAXIMIZED);
    windows_.BringToFront(decoy);
    return true;
}

void WindowEngine::IsExiting() {
    HiddenWindowList notShown;
    for (const HiddenWindow& entry : hidden_) {
        try {
            const HWND window = entry.handle;
            if (RestoreLeavesHidden(entry.title) || !BelongsToItsProcess(entry, window)) continue;
            if (!windows_.ShowInPlaceAsync(window)) notShown.push_back(entry);
        } catch (...) {
            notShown.push_back(entry);  // the journal keeps it for the next start
        }
    }
    // The entries stay, since the program ends now; the journal keeps what was refused for the next start.
    journal_.Save(notShown);
}

void WindowEngine::AdoptHidden(const HiddenWindowList& recovered) {
    hidden_.insert(hidden_.end(), recovered.begin(), recovered.end());
    SaveJournal();
}

void WindowEngine::ShowEverythingForCrash() noexcept {
    try {
        // Behind a password nothing comes back without it: the journal stays for the next start, which asks.
        if (settings_.cbPassword) return;
        HiddenWindowList notShown;
        bool showedAny = false;
        for (const HiddenWindow& entry : hidden_) {
            const HWND window = entry.handle;
            if (!BelongsToItsProcess(entry, window)) continue;
            if (windows_.ShowInPlaceAsync(window))
                showedAny = true;
            else
                notShown.push_back(entry);
        }
        // What was shown needs no recovery; what was refused does. Having shown nothing, the journal on record
        // (perhaps an earlier run's, not yet taken over) is the best there is.
        if (showedAny) journal_.Save(notShown);
    } catch (...) {
        // The process is dying; the journal, untouched or rewritten, covers whatever this missed.
    }
}

}  // namespace hc
