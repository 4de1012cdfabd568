#pragma once
#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Appearance.h"

namespace hc {

// The colours of one theme. "Windows" is the system's own look: its colours are the system's.
struct Palette {
    const wchar_t* name;
    bool system;
    bool dark;
    COLORREF window;   // window and page background
    COLORREF control;  // edit boxes, lists, drop-downs
    COLORREF text;
    COLORREF accent;  // highlights and headings
    COLORREF link;
};

inline constexpr wchar_t kSystemThemeName[] = L"Windows";
inline constexpr wchar_t kStartThemeName[] = L"Onyx Blue";

// Every theme the program carries, the system's look first.
std::span<const Palette> Palettes();
const Palette* FindPalette(std::wstring_view name);

// The theme in force for the whole program. Windows register to hear of a change and repaint themselves.
class Themes {
public:
    Themes();
    const Palette& Current() const { return *current_; }
    // False for a name the program does not carry; the theme then stays.
    bool Select(std::wstring_view name);
    void OnChanged(std::function<void(const Palette&)> listener) { listeners_.push_back(std::move(listener)); }

    // The answer to a WM_CTLCOLOR* message: sets the colours on the control's DC and gives its brush;
    // null for the system's look, where the window passes the message on.
    HBRUSH ColourControl(UINT message, HDC dc) const;
    // The system's brush for its own look; that one must never be deleted.
    HBRUSH WindowBrush() const { return windowBrush_ ? windowBrush_.get() : GetSysColorBrush(COLOR_BTNFACE); }
    COLORREF WindowColour() const { return current_->system ? GetSysColor(COLOR_BTNFACE) : current_->window; }
    COLORREF TextColour() const { return current_->system ? GetSysColor(COLOR_BTNTEXT) : current_->text; }
    // Colours the program's controls below the window (lists, check boxes) and its title bar for the theme.
    void ApplyTo(HWND window) const;

private:
    const Palette* current_;
    UniqueBrush windowBrush_;
    UniqueBrush controlBrush_;
    std::vector<std::function<void(const Palette&)>> listeners_;
};

}  // namespace hc
