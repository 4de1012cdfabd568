#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace hctest {

// Folder of the running test program (where HC.exe and winhelper.exe are built).
std::wstring BinFolder();
// build/shots\<name>, for the pictures the tests leave; the folder is made when missing.
std::wstring ShotPath(const std::wstring& name);
// A fresh folder under the system's temporary folder, removed by nobody: tests name what they put there.
std::wstring MakeTempFolder(const std::wstring& prefix);

// Polls the condition until it holds or the time is up; pumps this thread's messages meanwhile.
// Whether every one of the windows is hidden, or shown.
bool AllHidden(const std::vector<HWND>& windows);
bool AllShown(const std::vector<HWND>& windows);
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000, DWORD intervalMs = 10);

// A controller that ends posts WM_QUIT to this thread; in a test program the next test's modal loop would take it
// as the end of the program.
void DropPendingQuit();

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);

// The visible top-level windows of one process.
std::vector<HWND> VisibleWindowsOf(DWORD processId);
std::vector<HWND> WindowsOf(DWORD processId, const wchar_t* className = nullptr);

// Starts a program; returns the process handle (caller closes) or null.
HANDLE StartProcess(const std::wstring& exePath, const std::wstring& arguments, DWORD* processId = nullptr,
                    const std::wstring& workingFolder = L"");

// Waits until the window in front has handled everything sent to it before, its focus change among them.
void SettleForeground();
// Presses a key combination system-wide as the keyboard would (modifiers down, key down, all up), once the window
// in front has settled.
void PressKeys(std::initializer_list<WORD> modifiers, WORD key);
// The same at once, without waiting for any window: for a measurement that must not wait on the program measured.
void SendKeys(std::initializer_list<WORD> modifiers, WORD key);

// The open popup menu (class #32768) once its own loop runs, waited for; null when none came. Keys pressed before
// that loop runs go to the window behind the menu.
HWND WaitForMenuLoop(DWORD timeoutMs = 5000);
// A dialog box (class #32770) with this caption, waited for; null when none came.
HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs = 5000);
// The text of a message box.
std::wstring MessageBoxText(HWND box);
// Clicks a button or clickable label of a dialog as the user would, without waiting for what the click starts.
bool ClickButton(HWND dialog, int controlId);
// Waits for a message box with this caption, answers it with OK and waits until it is gone. Its text, or
// "(no box)" when none came.
std::wstring AnswerBox(const wchar_t* caption, DWORD timeoutMs = 5000);

// Ends the process that owns the window (for programs a test caused to start, such as a decoy).
void EndProcessOf(HWND window);

// Saves the whole screen as a BMP file.
bool SaveScreenshot(const std::wstring& path);
// Saves a picture of this size as a BMP file; paint copies into the memory DC from the screen DC.
bool SaveBitmap(const std::wstring& path, int width, int height, const std::function<void(HDC memory, HDC screen)>& paint);

// Removes HKCU\<path> now and again when it goes, so every test starts from a clean store.
class ScopedCleanKey {
public:
    explicit ScopedCleanKey(std::wstring path = L"HushCloak");
    ~ScopedCleanKey();
    ScopedCleanKey(const ScopedCleanKey&) = delete;
    ScopedCleanKey& operator=(const ScopedCleanKey&) = delete;
    // Writes a REG_SZ value into a subkey of the clean key.
    void SetString(const std::wstring& section, const std::wstring& name, const std::wstring& value);
    void SetDword(const std::wstring& section, const std::wstring& name, DWORD value);

private:
    std::wstring path_;
};

// The window-opening helper program, running as its own process.
class WindowHelper {
public:
    // exePath empty: the winhelper.exe beside the tests.
    explicit WindowHelper(const std::wstring& exePath = L"");
    ~WindowHelper();
    WindowHelper(const WindowHelper&) = delete;
    WindowHelper& operator=(const WindowHelper&) = delete;

    bool IsRunning() const { return control_ != nullptr; }
    DWORD ProcessId() const { return processId_; }
    HWND Open(const std::wstring& title);
    std::vector<HWND> OpenMany(const std::wstring& titlePrefix, int count);
    // A window whose thread can be stopped from pumping messages.
    HWND OpenHungable(const std::wstring& title);
    void Hang(DWORD milliseconds);
    long CloseRequests();
    // When the window was last shown, as a running count over all the helper's windows; 0 if never.
    long ShownSequence(HWND window);
    bool BringToFront(HWND window);
    // An untitled pop-up owned by the window, as a program's open menu or floating list is.
    HWND OpenPopup(HWND owner);

private:
    LRESULT Send(unsigned command, const std::wstring& text);

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND control_ = nullptr;
};

}  // namespace hctest
