#pragma once
#include <windows.h>

#include <functional>
#include <string_view>

namespace hc {

inline constexpr wchar_t kWarningCaption[] = L"Warning";
inline constexpr wchar_t kInformationCaption[] = L"Information";
inline constexpr wchar_t kErrorCaption[] = L"Error";

// The program's message boxes. Logic shows them through this interface, so tests can record them.
class Messages {
public:
    virtual ~Messages() = default;
    // The platform message box: MB_* flags, returns the button pressed (IDOK...).
    virtual int Box(HWND owner, std::wstring_view text, std::wstring_view caption, UINT flags) = 0;

    // Captioned "Warning", "Information" or "Error", an OK button and the matching icon, centred on the
    // screen and modal to this thread's windows.
    void Warning(std::wstring_view text);
    void Information(std::wstring_view text);
    void Error(std::wstring_view text);
};

// The real boxes of the window manager.
class Win32Messages final : public Messages {
public:
    int Box(HWND owner, std::wstring_view text, std::wstring_view caption, UINT flags) override;
    // Runs before every box, so nothing can open a box behind the topmost splash window.
    void SetBeforeShowing(std::function<void()> action) { beforeShowing_ = std::move(action); }

private:
    std::function<void()> beforeShowing_;
};

}  // namespace hc
