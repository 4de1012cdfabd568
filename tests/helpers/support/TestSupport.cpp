#include "TestSupport.h"

#include <algorithm>
#include <atomic>

#include "../winhelper/Protocol.h"

namespace hctest {

std::wstring BinFolder() {
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring MakeTempFolder(const std::wstring& prefix) {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + prefix + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                          std::to_wstring(counter++);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD intervalMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(intervalMs);
    }
}

bool AllHidden(const std::vector<HWND>& windows) {
    return std::none_of(windows.begin(), windows.end(), [](HWND w) { return IsWindowVisible(w); });
}
bool AllShown(const std::vector<HWND>& windows) {
    return std::all_of(windows.begin(), windows.end(), [](HWND w) { return IsWindowVisible(w); });
}

void DropPendingQuit() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

namespace {
struct WindowQuery {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOf(HWND window, LPARAM context) {
    auto* query = reinterpret_cast<WindowQuery*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId) return TRUE;
    if (query->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (query->className) {
        wchar_t name[256] = {};
        GetClassNameW(window, name, 256);
        if (lstrcmpiW(name, query->className) != 0) return TRUE;
    }
    query->found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    WindowQuery query{processId, nullptr, true, {}};
    EnumWindows(&CollectOf, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::vector<HWND> WindowsOf(DWORD processId, const wchar_t* className) {
    WindowQuery query{processId, className, false, {}};
    EnumWindows(&CollectOf, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HANDLE StartProcess(const std::wstring& exePath, const std::wstring& arguments, DWORD* processId,
                    const std::wstring& workingFolder) {
    std::wstring commandLine = L"\"" + exePath + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    if (processId) *processId = info.dwProcessId;
    return info.hProcess;
}

namespace {
BOOL CALLBACK CollectAll(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

// Two round trips to the window's thread: a thread reads its X events only when it waits for messages, so its
// answer to the second proves it has read those that came before the first.
void RoundTrips(HWND window, UINT timeoutMs) {
    for (int trip = 0; trip < 2; ++trip) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result)) return;
    }
}
}  // namespace

void SettleForeground() {
    // The X focus may be on its way to or from any window, one just hidden too, also while no window is in front:
    // each thread with a window reads its events first (briefly for a thread that does not answer: it reads
    // nothing anyway).
    std::vector<HWND> windows;
    EnumWindows(&CollectAll, reinterpret_cast<LPARAM>(&windows));
    std::vector<DWORD> threads;
    for (HWND window : windows) {
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        if (thread == GetCurrentThreadId() || std::find(threads.begin(), threads.end(), thread) != threads.end())
            continue;
        threads.push_back(thread);
        RoundTrips(window, 250);
    }
    // Then until the window in front stays in front across its own round trips.
    for (int round = 0; round < 10; ++round) {
        HWND front = GetForegroundWindow();
        if (!front) return;
        RoundTrips(front, 5000);
        if (GetForegroundWindow() == front) return;
    }
}

void PressKeys(std::initializer_list<WORD> modifiers, WORD key) {
    // Wine brings its key state in line with the X server's when a window of it gains the X focus, and X never saw
    // these keys: a focus change still on its way lets go of the modifier in the middle of the combination.
    SettleForeground();
    SendKeys(modifiers, key);
}

void SendKeys(std::initializer_list<WORD> modifiers, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD m : modifiers) add(m, false);
    add(key, false);
    add(key, true);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) add(*m, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND WaitForMenuLoop(DWORD timeoutMs) {
    HWND menu = nullptr;
    const bool running = WaitUntil(
        [&] {
            menu = FindWindowW(L"#32768", nullptr);
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            return menu && IsWindowVisible(menu) && GetGUIThreadInfo(GetWindowThreadProcessId(menu, nullptr), &info) &&
                   (info.flags & GUI_INMENUMODE);
        },
        timeoutMs);
    return running ? menu : nullptr;
}

HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowW(L"#32770", caption)) != nullptr && IsWindowVisible(found); },
              timeoutMs);
    return found && IsWindowVisible(found) ? found : nullptr;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    return text;
}

bool ClickButton(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return false;
    // Posted: the click may open a modal box, and a sent message would wait for it to close.
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

std::wstring AnswerBox(const wchar_t* caption, DWORD timeoutMs) {
    HWND box = WaitForDialog(caption, timeoutMs);
    if (!box) return L"(no box)";
    const std::wstring text = MessageBoxText(box);
    // Its focus change read first: a focus-out read after the box has gone would close what its owner opens next.
    SettleForeground();
    ClickButton(box, IDOK);
    WaitUntil([&] { return !IsWindow(box); }, timeoutMs);
    return text;
}

void EndProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

bool SaveScreenshot(const std::wstring& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    return SaveBitmap(path, width, height,
                      [&](HDC memory, HDC screen) { BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY); });
}

std::wstring ShotPath(const std::wstring& name) {
    const std::wstring folder = BinFolder() + L"..\\shots";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + name;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool SaveBitmap(const std::wstring& path, int width, int height, const std::function<void(HDC, HDC)>& paint) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint(memory, screen);
        SelectObject(memory, old);
        const DWORD stride = ((width * 3 + 3) / 4) * 4;
        const DWORD imageSize = stride * height;
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
        file.bfSize = file.bfOffBits + imageSize;
        HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            saved = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
                    WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
                    WriteFile(out, bits, imageSize, &written, nullptr);
            CloseHandle(out);
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

ScopedCleanKey::ScopedCleanKey(std::wstring path) : path_(std::move(path)) {
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

ScopedCleanKey::~ScopedCleanKey() { RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); }

void ScopedCleanKey::SetString(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
    HKEY key = nullptr;
    const std::wstring path = path_ + L"\\" + section;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
        return;
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void ScopedCleanKey::SetDword(const std::wstring& section, const std::wstring& name, DWORD value) {
    HKEY key = nullptr;
    const std::wstring path = path_ + L"\\" + section;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
        return;
    RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

WindowHelper::WindowHelper(const std::wstring& exePath) {
    static std::atomic<int> counter{0};
    const std::wstring token = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
    const std::wstring path = exePath.empty() ? BinFolder() + L"winhelper.exe" : exePath;
    process_ = StartProcess(path, token, &processId_);
    if (!process_) return;
    const std::wstring title = std::wstring(winhelper::kControlClass) + L" " + token;
    WaitUntil([&] { return (control_ = FindWindowW(winhelper::kControlClass, title.c_str())) != nullptr; }, 10000);
}

WindowHelper::~WindowHelper() {
    if (control_) Send(winhelper::kQuit, L"");
    if (process_) {
        if (WaitForSingleObject(process_, 3000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
}

LRESULT WindowHelper::Send(unsigned command, const std::wstring& text) {
    if (!control_) return 0;
    COPYDATASTRUCT data{};
    data.dwData = command;
    data.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(text.data());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 10000, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

HWND WindowHelper::Open(const std::wstring& title) { return reinterpret_cast<HWND>(Send(winhelper::kOpen, title)); }

std::vector<HWND> WindowHelper::OpenMany(const std::wstring& titlePrefix, int count) {
    std::vector<HWND> windows;
    for (int i = 0; i < count; ++i) windows.push_back(Open(titlePrefix + L" " + std::to_wstring(i)));
    return windows;
}

HWND WindowHelper::OpenHungable(const std::wstring& title) {
    return reinterpret_cast<HWND>(Send(winhelper::kOpenHungable, title));
}

void WindowHelper::Hang(DWORD milliseconds) { Send(winhelper::kHang, std::to_wstring(milliseconds)); }

long WindowHelper::ShownSequence(HWND window) {
    return static_cast<long>(Send(winhelper::kShownSequence, std::to_wstring(reinterpret_cast<uintptr_t>(window))));
}

bool WindowHelper::BringToFront(HWND window) {
    return Send(winhelper::kForeground, std::to_wstring(reinterpret_cast<uintptr_t>(window))) != 0;
}

HWND WindowHelper::OpenPopup(HWND owner) {
    return reinterpret_cast<HWND>(Send(winhelper::kOpenPopup, std::to_wstring(reinterpret_cast<uintptr_t>(owner))));
}

long WindowHelper::CloseRequests() { return static_cast<long>(Send(winhelper::kCloseRequests, L"")); }

}  // namespace hctest
