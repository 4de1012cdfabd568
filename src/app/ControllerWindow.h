#pragma once
#include "app/Window.h"

namespace hc {

// The hidden controller window: the program's main window in the sense that closing it ends the program.
// It is never shown.
class TForm2 : public Window<TForm2> {
public:
    static constexpr wchar_t kClassName[] = L"TForm2";

    TForm2();
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
};

// Keeps a window off the taskbar and out of the task switcher.
void KeepOffTaskbar(HWND window);

}  // namespace hc
