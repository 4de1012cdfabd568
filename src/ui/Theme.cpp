#include "ui/Theme.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "platform/Locale.h"

namespace hc {

namespace {
constexpr COLORREF kLightLink = RGB(0, 0, 204);
constexpr COLORREF kDarkLink = RGB(120, 180, 255);

const std::array<Palette, 11> kPalettes = {{
    {L"Windows", true, false, 0, 0, 0, RGB(20, 100, 190), kLightLink},
    {L"Onyx Blue", false, true, RGB(30, 34, 42), RGB(44, 50, 62), RGB(232, 236, 242), RGB(20, 100, 190), kDarkLink},
    {L"Ruby Graphite", false, true, RGB(46, 46, 48), RGB(62, 62, 66), RGB(236, 236, 236), RGB(178, 34, 52),
     RGB(255, 150, 160)},
    {L"Silver", false, false, RGB(232, 234, 237), RGB(255, 255, 255), RGB(28, 28, 30), RGB(100, 110, 125), kLightLink},
    {L"Sky", false, false, RGB(222, 236, 250), RGB(255, 255, 255), RGB(18, 38, 66), RGB(40, 120, 200), kLightLink},
    {L"Slate Classico", false, false, RGB(200, 206, 212), RGB(236, 238, 241), RGB(16, 20, 24), RGB(64, 84, 104),
     RGB(0, 40, 150)},
    {L"TabletDark", false, true, RGB(24, 24, 24), RGB(40, 40, 40), RGB(242, 242, 242), RGB(0, 120, 215), kDarkLink},
    {L"Tablet Light", false, false, RGB(250, 250, 250), RGB(255, 255, 255), RGB(20, 20, 20), RGB(0, 120, 215),
     kLightLink},
    {L"Windows10", false, false, RGB(240, 240, 240), RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 120, 215), kLightLink},
    {L"Windows10 Blue", false, true, RGB(16, 54, 108), RGB(26, 74, 138), RGB(255, 255, 255), RGB(0, 150, 255),
     RGB(170, 215, 255)},
    {L"Windows10 Dark", false, true, RGB(32, 32, 32), RGB(45, 45, 45), RGB(240, 240, 240), RGB(0, 120, 215), kDarkLink},
}};

bool IsCheckOrRadio(HWND control) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    if (!locale::SameTextIgnoringCase(className, WC_BUTTONW)) return false;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_OWNERDRAW;
}

bool IsListView(HWND control) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    return locale::SameTextIgnoringCase(className, WC_LISTVIEWW);
}
}  // namespace

std::span<const Palette> Palettes() { return kPalettes; }

const Palette* FindPalette(std::wstring_view name) {
    auto found =
        std::find_if(kPalettes.begin(), kPalettes.end(), [&](const Palette& palette) { return name == palette.name; });
    return found == kPalettes.end() ? nullptr : &*found;
}

Themes::Themes() : current_(nullptr) { Select(kStartThemeName); }

bool Themes::Select(std::wstring_view name) {
    const Palette* palette = FindPalette(name);
    if (!palette) return false;
    current_ = palette;
    windowBrush_.reset(palette->system ? nullptr : CreateSolidBrush(palette->window));
    controlBrush_.reset(palette->system ? nullptr : CreateSolidBrush(palette->control));
    for (const auto& listener : listeners_) listener(*palette);
    return true;
}

HBRUSH Themes::ColourControl(UINT message, HDC dc) const {
    if (current_->system) return nullptr;
    SetTextColor(dc, current_->text);
    const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetBkColor(dc, field ? current_->control : current_->window);
    return field ? controlBrush_.get() : windowBrush_.get();
}

void Themes::ApplyTo(HWND window) const {
    appearance::SetDarkTitleBar(window, current_->dark);
    const Palette& palette = *current_;
    EnumChildWindows(
        window,
        [](HWND control, LPARAM data) -> BOOL {
            const Palette& palette = *reinterpret_cast<const Palette*>(data);
            // Themed check boxes ignore the colours their parent hands them.
            if (IsCheckOrRadio(control)) appearance::UseClassicLook(control, !palette.system);
            if (IsListView(control)) {
                const COLORREF back = palette.system ? GetSysColor(COLOR_WINDOW) : palette.control;
                const COLORREF text = palette.system ? GetSysColor(COLOR_WINDOWTEXT) : palette.text;
                SendMessageW(control, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
                SendMessageW(control, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
                SendMessageW(control, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&palette));
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace hc
