#include "engine/WindowRules.h"

#include "platform/Locale.h"
#include "settings/Configuration.h"

namespace hc {

namespace {
bool SameTitle(std::wstring_view title, const wchar_t* fixed) { return locale::SameTextIgnoringCase(title, fixed); }

bool IsShellClass(std::wstring_view className) {
    // The desktop, its wallpaper layer, the taskbars, and the notification area Wine shows without a shell.
    for (const wchar_t* shell :
         {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"__winex11_standalone_tray"})
        if (className == shell) return true;
    return false;
}
}  // namespace

bool IsShellWindow(const WindowFacts& facts) {
    return IsShellClass(facts.className) || SameTitle(facts.title, kDesktopTitle);
}

bool IsListedWindow(const WindowFacts& facts, DWORD ownProcessId) {
    if (facts.title.empty() || !facts.visible || facts.cloaked) return false;
    if (facts.processId == ownProcessId || IsShellWindow(facts)) return false;
    return !(facts.toolWindow && !facts.hasCaption);
}

bool IsOwnedPopup(const WindowFacts& facts, DWORD ownProcessId) {
    return facts.owner && facts.visible && !facts.cloaked && facts.processId != ownProcessId && !IsShellWindow(facts) &&
           !IsListedWindow(facts, ownProcessId);
}

std::wstring ProcessDisplayName(DWORD processId, const std::wstring& imagePath) {
    if (!imagePath.empty()) return imagePath;
    if (processId == 0) return L"System Idle Process";
    if (processId == 4) return L"System Process";
    return imagePath;
}

bool RestoreLeavesHidden(std::wstring_view title) { return SameTitle(title, kCacheManagerTitle); }

}  // namespace hc
