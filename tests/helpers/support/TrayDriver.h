#pragma once
#include <windows.h>

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Icons.h"
#include "platform/RunKeys.h"

namespace hctest {

// Wine without a desktop shell shows notification-area icons in a small window of its own ("Wine System Tray"),
// one child window per icon. These drive it as a user would: real mouse input at the icon.
HWND WineTrayWindow();
// The icons shown now, left to right.
std::vector<HWND> TrayIcons();
bool WaitForTrayIconCount(size_t count, DWORD timeoutMs = 5000);

// Moves the mouse onto the icon and clicks with the right or left button; twice for a double click.
void RightClick(HWND icon);
void LeftClick(HWND icon);
void DoubleClick(HWND icon);

// The open popup menu (class #32768) once its loop runs, waited for; null when none came.
HWND WaitForPopupMenu(DWORD timeoutMs = 5000);
bool WaitUntilNoPopupMenu(DWORD timeoutMs = 5000);
// Right-clicks the first icon and waits for the menu.
HWND OpenTrayMenu();
// Presses keys one after the other, as a user walks a menu (VK_DOWN, VK_RIGHT, VK_RETURN...).
void PressSequence(std::initializer_list<WORD> keys);

// Waits until the window's area of the screen has stopped changing (it is painted), for screenshots.
bool WaitUntilPainted(HWND window, DWORD timeoutMs = 3000);

// Presses a message box button as the user would and waits until the box is gone.
bool AnswerWith(HWND box, int buttonId);

// Run keys in memory; a scope listed in refused cannot be written.
class FakeRunKeys : public hc::RunKeys {
public:
    bool Exists(hc::RunScope scope, const std::wstring& name) override { return values.count({scope, name}) != 0; }
    bool Write(hc::RunScope scope, const std::wstring& name, const std::wstring& command) override;
    bool Delete(hc::RunScope scope, const std::wstring& name) override;

    std::map<std::pair<hc::RunScope, std::wstring>, std::wstring> values;
    std::set<hc::RunScope> refused;
};

// Answers the icon picker as the test says, and counts the showings.
class ScriptedIconPicker : public hc::IconPicker {
public:
    hc::IconChoice Pick(HWND, const std::wstring&, int) override {
        ++shown;
        return answer;
    }
    hc::IconChoice answer;
    int shown = 0;
};

}  // namespace hctest
