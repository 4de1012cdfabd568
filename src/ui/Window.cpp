#include "ui/Window.h"

#include <string>

#include "platform/Messages.h"
#include "settings/Configuration.h"

namespace hc {

namespace {
// The handler catches at the window procedure, so nothing was undone: hidden windows are neither shown nor lost.
constexpr wchar_t kWhatWasDone[] =
    L"Hushcloak Privacy goes on running. Windows it has hidden stay hidden until you unhide them.";
}  // namespace

void ReportUnhandledFailure(const std::exception* failure) noexcept {
    try {
        std::wstring text = L"An unexpected error occurred.";
        if (failure && failure->what() && *failure->what()) {
            const std::string what = failure->what();
            text.assign(what.begin(), what.end());
        }
        text += L"\n\n";
        text += kWhatWasDone;
        Win32Messages().Box(nullptr, text, kApplicationTitle, MB_OK | MB_TASKMODAL);
    } catch (...) {
        // Nothing is left to report with; the program goes on.
    }
}

}  // namespace hc
