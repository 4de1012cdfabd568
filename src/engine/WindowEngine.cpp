#include "engine/WindowEngine.h"

#include "platform/Locale.h"
#include "platform/WindowSystem.h"
#include "settings/Conversions.h"
#include "settings/Settings.h"

namespace hc {

namespace {
// The fixed titles, in upper case by the user's locale, as titles are compared.
struct FixedTitles {
    std::wstring ownDialog = locale::UpperCase(L"Hushcloak Privacy 6.0");
    std::wstring desktop = locale::UpperCase(L"Program Manager");
    std::wstring cacheManager = locale::UpperCase(L"Cache Manager");
    std::wstring product = locale::UpperCase(L"HushCloak Privacy");
};

const FixedTitles& Fixed() {
    static const FixedTitles titles;
    return titles;
}

bool TitleIsOneOf(const std::wstring& title, std::initializer_list<const std::wstring*> upperNames) {
    const std::wstring upper = locale::UpperCase(title);
    for (const std::wstring* name : upperNames)
        if (upper == *name) return true;
    return false;
}

HWND HandleFromText(const std::wstring& text) {
    return static_cast<HWND>(TextToHandle(text).value_or(nullptr));
}
}  // namespace

WindowEngine::WindowEngine(WindowSystem& windows, VisibleWindowList& visible, const Settings& settings,
                           ProgramShell& shell, SystemSwitches& switches, CleanupSteps& cleanup, UnhidePrompt& prompt)
    : windows_(windows),
      visible_(visible),
      settings_(settings),
      shell_(shell),
      switches_(switches),
      cleanup_(cleanup),
      prompt_(prompt) {}

void WindowEngine::ShowHideWindow(int show, const std::wstring& handleText) {
    if (settings_.fHidePanicBtn) shell_.ClosePanicButton();
    const HWND window = HandleFromText(handleText);
    try {
        if (show == 0) {
            if (window != shell_.PanicButtonWindow()) windows_.HideAsync(window);
            return;
        }
        windows_.ShowAsync(window, SW_SHOW);
        shell_.SetTrayIconActive(true);
        if (settings_.cbMuteAudio) cleanup_.SetAudioMute(false);
    } catch (...) {
        // Fail toward visibility.
        windows_.ShowAsync(window, SW_SHOW);
        shell_.SetTrayIconActive(true);
    }
}

bool WindowEngine::DoHideAllWindows(int dlAction) {
    try {
        // The dispatcher has already taken the program's own windows off the screen.
        visible_.DoGetWindows();
        const std::wstring stamp = DateAndTimeStamp(locale::Now());
        for (const VisibleWindow& entry : visible_.Entries()) {
            if (TitleIsOneOf(entry.title, {&Fixed().ownDialog, &Fixed().desktop})) continue;
            const std::wstring handleText = HandleToText(entry.handle);
            hidden_.push_back(HiddenWindow{handleText, entry.title, stamp});
            ShowHideWindow(dlAction, handleText);
        }
        return true;
    } catch (...) {
        return false;  // quietly: what was hidden so far stays hidden and listed
    }
}

HWND WindowEngine::ActiveTarget(Sender sender) {
    // From the Panic Button the foreground is the button itself: take the window that was in front before.
    return sender == Sender::PanicButton ? shell_.LastActiveHandle() : windows_.Foreground();
}

bool WindowEngine::DoHideActiveWindows(Sender sender, int dlAction) {
    try {
        CloseMainWindowIfVisible();
        const HWND target = ActiveTarget(sender);
        const std::wstring title = windows_.Title(target);
        if (TitleIsOneOf(title, {&Fixed().desktop})) return true;
        if (title.empty() || !windows_.IsVisible(target)) return true;
        const std::wstring handleText = HandleToText(target);
        hidden_.push_back(HiddenWindow{handleText, title, DateAndTimeStamp(locale::Now())});
        ShowHideWindow(dlAction, handleText);
        return true;
    } catch (...) {
        return false;
    }
}

HWND WindowEngine::ShowAfterRestore(const HiddenWindow& entry) {
    if (TitleIsOneOf(entry.title, {&Fixed().ownDialog, &Fixed().cacheManager})) return nullptr;
    ShowHideWindow(1, entry.handleText);
    return HandleFromText(entry.handleText);
}

void WindowEngine::RestoreWindows() {
    // Take the list first, so a dispatch that starts inside a modal loop sees a consistent, empty list.
    HiddenWindowList restoring;
    restoring.swap(hidden_);
    std::vector<HWND> shown;
    shown.reserve(restoring.size());
    for (const HiddenWindow& entry : restoring)
        if (HWND window = ShowAfterRestore(entry)) shown.push_back(window);
    visible_.DoGetWindows(shown);
}

void WindowEngine::HideSelectedWindow(size_t visibleIndex) {
    if (visibleIndex >= visible_.Entries().size()) return;
    const VisibleWindow entry = visible_.Entries()[visibleIndex];
    const std::wstring handleText = HandleToText(entry.handle);
    ShowHideWindow(0, handleText);
    hidden_.push_back(HiddenWindow{handleText, entry.title, TimeOnlyStamp(locale::Now())});
    visible_.RemoveAt(visibleIndex);
}

void WindowEngine::ShowSelectedWindow(size_t hiddenIndex) {
    if (hiddenIndex >= hidden_.size()) return;
    windows_.ShowAsync(HandleFromText(hidden_[hiddenIndex].handleText), SW_SHOWNORMAL);
    hidden_.erase(hidden_.begin() + static_cast<std::ptrdiff_t>(hiddenIndex));
}

void WindowEngine::ShowAllWindows() {
    while (!hidden_.empty()) {
        windows_.ShowAsync(HandleFromText(hidden_.back().handleText), SW_SHOWNORMAL);
        hidden_.pop_back();
    }
}

void WindowEngine::CloseMainWindowIfVisible() {
    if (shell_.IsMainWindowVisible()) shell_.CloseMainWindow();
}

void WindowEngine::CloseApplicationWindows() {
    if (settings_.cbHideIcon) shell_.SetTrayIconActive(false);
    if (switches_.HasAdministratorRights()) switches_.SetTaskManagerDisabled(settings_.cbTaskManager);
    CloseMainWindowIfVisible();
    if (prompt_.IsOpen()) prompt_.Cancel();
    shell_.CloseAboutWindow();
}

bool WindowEngine::DoCloseAllWindows(int) {
    try {
        CloseMainWindowIfVisible();
        visible_.DoGetWindows();
        // Each listed window is asked itself: two windows of one title are both asked, once each.
        for (const VisibleWindow& entry : visible_.Entries()) {
            if (TitleIsOneOf(entry.title, {&Fixed().ownDialog, &Fixed().desktop})) continue;
            windows_.PostClose(entry.handle);
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool WindowEngine::DoCloseActiveWindow(int) {
    try {
        CloseMainWindowIfVisible();
        const HWND target = windows_.Foreground();
        const std::wstring title = windows_.Title(target);
        if (TitleIsOneOf(title, {&Fixed().desktop})) return true;
        if (title.empty() || !windows_.IsVisible(target)) return true;
        hidden_.push_back(HiddenWindow{HandleToText(target), title, DateOnlyStamp(locale::Now())});
        windows_.PostClose(target);
        return true;
    } catch (...) {
        return false;
    }
}

bool WindowEngine::DoDecoyApp() {
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
    try {
        for (const HiddenWindow& entry : hidden_) {
            if (TitleIsOneOf(entry.title, {&Fixed().product, &Fixed().cacheManager})) continue;
            ShowHideWindow(1, entry.handleText);
        }
    } catch (...) {
        // The program ends right after; whatever could not be shown stays as it is.
    }
}

}  // namespace hc
