#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/Handles.h"

namespace hc {

using UniqueBrush = Unique<HBRUSH, &DeleteObject>;

namespace appearance {

// Asks for a dark or light title bar where the system offers the choice; false where it does not.
bool SetDarkTitleBar(HWND window, bool dark);
// Draws a control without visual styles, so the colours its parent hands it are used (or with them again).
void UseClassicLook(HWND control, bool classic);
// The window's DPI; 96 where the system cannot tell.
UINT DpiOf(HWND window);
// A window text of any length.
std::wstring WindowText(HWND window);

// Icon number index of an icon file, program or library, large and small; both empty when the file holds no such
// icon (the caller keeps its own then).
struct IconPair {
    UniqueHicon large;
    UniqueHicon small;
};
IconPair ExtractFileIcon(const std::wstring& file, int index);

// True when the system can render HTML pages (it cannot under Wine without its HTML engine).
bool HtmlEngineAvailable();
// A child window hosting the system's browser on the given address; null when it cannot be made.
HWND CreateBrowserView(HWND parent, int id, const std::wstring& url);

// The contents of a UTF-8 text file (a byte-order mark is dropped); nullopt when it cannot be read.
std::optional<std::wstring> ReadTextFile(const std::wstring& path);

// The system's file-open dialog; the chosen file's full name, or nullopt when the user cancelled.
// filter is the dialog's list of name and pattern pairs, separated by '|'.
std::optional<std::wstring> AskForFileToOpen(HWND owner, const std::wstring& title, const std::wstring& filter,
                                             const std::wstring& defaultExtension);

}  // namespace appearance
}  // namespace hc
