#include "platform/Appearance.h"

#include <commdlg.h>
#include <shellapi.h>
#include <objbase.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/Com.h"

namespace hc::appearance {

namespace {
template <class Function>
Function SystemFunction(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);  // stays loaded for the run: the functions are used again
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Missing from MinGW's libuuid.
constexpr CLSID kHtmlDocument = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};
constexpr DWORD kImmersiveDarkMode = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE
}  // namespace

bool SetDarkTitleBar(HWND window, bool dark) {
    using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    static const auto set = SystemFunction<SetAttribute>(L"dwmapi.dll", "DwmSetWindowAttribute");
    const BOOL value = dark ? TRUE : FALSE;
    return set && SUCCEEDED(set(window, kImmersiveDarkMode, &value, sizeof(value)));
}

void UseClassicLook(HWND control, bool classic) {
    using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    static const auto set = SystemFunction<SetTheme>(L"uxtheme.dll", "SetWindowTheme");
    // Without the theme library every control is drawn classically already.
    if (set) set(control, classic ? L"" : nullptr, classic ? L"" : nullptr);
}

UINT DpiOf(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto get = SystemFunction<GetDpi>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = get && window ? get(window) : 0;
    if (dpi) return dpi;
    HDC screen = GetDC(nullptr);
    const int logical = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return logical > 0 ? static_cast<UINT>(logical) : 96;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

IconPair ExtractFileIcon(const std::wstring& file, int index) {
    IconPair icons;
    if (file.empty() || index < 0) return icons;  // a negative index would name a resource id instead
    // The tray's default names the file through %SystemRoot%.
    wchar_t expanded[MAX_PATH] = {};
    const DWORD length = ExpandEnvironmentStringsW(file.c_str(), expanded, MAX_PATH);
    if (length == 0 || length > MAX_PATH) return icons;
    // For a missing file, or past the last icon, Wine hands out a stock icon instead of none.
    const DWORD attributes = GetFileAttributesW(expanded);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return icons;
    const UINT count = ExtractIconExW(expanded, -1, nullptr, nullptr, 0);
    if (static_cast<UINT>(index) >= count) return icons;
    HICON large = nullptr;
    HICON small = nullptr;
    if (ExtractIconExW(expanded, index, &large, &small, 1) == 0) return icons;
    icons.large.reset(large);
    icons.small.reset(small);
    if (!icons.large || !icons.small) return {};
    return icons;
}

bool HtmlEngineAvailable() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IUnknown* document = nullptr;
    const HRESULT made = CoCreateInstance(kHtmlDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&document));
    if (document) document->Release();
    if (SUCCEEDED(init)) CoUninitialize();
    return SUCCEEDED(made);
}

HWND CreateBrowserView(HWND parent, int id, const std::wstring& url) {
    JoinComApartment();  // the control it hosts is a COM object for the rest of the run
    using Init = BOOL(WINAPI*)();
    static const auto init = SystemFunction<Init>(L"atl.dll", "AtlAxWinInit");
    if (!init || !init()) return nullptr;
    // The ActiveX host window creates the browser from the address in its text and navigates it there.
    return CreateWindowExW(0, L"AtlAxWin", url.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

std::optional<std::wstring> ReadTextFile(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    if (bytes.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::optional<std::wstring> AskForFileToOpen(HWND owner, const std::wstring& title, const std::wstring& filter,
                                             const std::wstring& defaultExtension) {
    std::wstring filters = filter + L"||";
    for (wchar_t& c : filters)
        if (c == L'|') c = L'\0';
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = defaultExtension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    JoinComApartment();  // the dialog shows the shell's folders
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return std::wstring(file.data());
}

}  // namespace hc::appearance
