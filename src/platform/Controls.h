#pragma once
#include <windows.h>

#include <string>

namespace hc::controls {

// The standard controls as the logic reaches them; a null or destroyed control is left alone.
void SetText(HWND control, const std::wstring& text);
std::wstring Text(HWND control);
void SetProgressRange(HWND progressBar, int maximum);
void SetProgressPosition(HWND progressBar, int position);
int ProgressPosition(HWND progressBar);

// Handles the messages that are waiting now. False when the program was asked to end: the quit request is
// posted again for the loop that owns it, and its exit code goes to quitCode.
bool PumpPendingMessages(int* quitCode = nullptr);
// Asks this thread's main loop to end with the exit code.
void PostQuit(int exitCode);

}  // namespace hc::controls
