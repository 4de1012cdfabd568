#include "platform/Messages.h"

#include <string>

namespace hc {

namespace {
// No owner puts the box in the middle of the screen; task-modal keeps the user from working behind it.
constexpr UINT kCentredDialog = MB_OK | MB_TASKMODAL;
}  // namespace

void Messages::Warning(std::wstring_view text) { Box(nullptr, text, kWarningCaption, kCentredDialog | MB_ICONWARNING); }

void Messages::Information(std::wstring_view text) {
    Box(nullptr, text, kInformationCaption, kCentredDialog | MB_ICONINFORMATION);
}

void Messages::Error(std::wstring_view text) { Box(nullptr, text, kErrorCaption, kCentredDialog | MB_ICONERROR); }

int Win32Messages::Box(HWND owner, std::wstring_view text, std::wstring_view caption, UINT flags) {
    if (beforeShowing_) beforeShowing_();
    const std::wstring textZ(text);
    const std::wstring captionZ(caption);
    return MessageBoxW(owner, textZ.c_str(), captionZ.c_str(), flags);
}

}  // namespace hc
