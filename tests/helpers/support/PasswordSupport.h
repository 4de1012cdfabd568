#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace hctest {

// The raw bytes of a value under HKEY_CURRENT_USER; empty when it is absent.
std::vector<BYTE> RawRegistryValue(const std::wstring& path, const std::wstring& name);
// For its life, nobody may read the values of that key under HKEY_CURRENT_USER (a read the system refuses).
class ScopedUnreadableKey {
public:
    explicit ScopedUnreadableKey(std::wstring path);
    ~ScopedUnreadableKey();
    ScopedUnreadableKey(const ScopedUnreadableKey&) = delete;
    ScopedUnreadableKey& operator=(const ScopedUnreadableKey&) = delete;
    bool IsInForce() const { return inForce_; }

private:
    std::wstring path_;
    bool inForce_ = false;
};

// Whether the bytes contain the text as UTF-16 or as 8-bit characters.
bool ContainsText(const std::vector<BYTE>& bytes, const std::wstring& text);

// Steps that run on this thread inside the modal loops of this process's dialogs: each waits until a visible
// dialog with its caption exists and then runs once, in order. Polled by a thread timer, which the loops
// dispatch; the script stops when it goes.
class ModalScript {
public:
    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& Then(const wchar_t* caption, std::function<void(HWND dialog)> step);
    bool Done() const { return steps_.empty(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    struct Step {
        std::wstring caption;
        std::function<void(HWND)> run;
    };
    std::deque<Step> steps_;
    UINT_PTR timer_ = 0;
    bool running_ = false;
};

// This process's visible dialog with the caption, or null.
HWND OwnDialog(const wchar_t* caption);
std::vector<HWND> DialogsOf(DWORD processId, const wchar_t* caption);
// A visible dialog of that process with the caption (matched exactly), waited for; null when none came.
HWND WaitForDialogOf(DWORD processId, const wchar_t* caption, DWORD timeoutMs = 5000);
// How many visible dialogs of that process have the caption.
int CountDialogsOf(DWORD processId, const wchar_t* caption);
// Answers that process's message box with OK; its text, or "(no box)".
std::wstring AnswerBoxOf(DWORD processId, const wchar_t* caption, DWORD timeoutMs = 5000);
// A right click of the mouse at the middle of a window.
void RightClickAt(HWND window);

// Types into a control and presses a button as the user would; the button's work runs before it returns.
void Type(HWND dialog, int controlId, const std::wstring& text);
void Press(HWND dialog, int buttonId);
std::wstring ControlText(HWND dialog, int controlId);
// Sends a key through the dialog manager as it reaches the focused control.
void PressKeyInDialog(HWND dialog, WORD key);

// Saves the screen as build/shots/<name>.bmp, beside the build's bin folder.
void SaveShot(const std::wstring& name);

}  // namespace hctest
