#pragma once
#include <windows.h>

namespace hc {

enum class FontKind { Normal, Bold, Heading, Title, Link };

// One control of a window's table, listed in tab order. A dialog reads its place as dialog units and leaves the
// font and the hint to the dialog; a page of the main window reads it as pixels at 96 DPI scaled for the monitor,
// where kFill stretches a width or a height to the page's edge, less the margin.
struct ControlRow {
    const wchar_t* className;
    const wchar_t* text;
    int id;
    DWORD style;
    int x, y, width, height;
    FontKind font = FontKind::Normal;
    const wchar_t* hint = nullptr;  // shown as the control's tooltip
};
inline constexpr int kFill = -1;

}  // namespace hc
