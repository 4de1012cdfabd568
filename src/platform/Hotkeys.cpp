#include "platform/Hotkeys.h"

namespace hc {

int HotkeyService::NewId() {
    constexpr int kIdLimit = 0xC000;
    lastId_ = lastId_ % (kIdLimit - 1) + 1;
    return lastId_;
}

bool Win32HotkeyService::Register(HWND owner, int id, UINT modifiers, UINT key) {
    if (RegisterHotKey(owner, id, modifiers, key)) return true;
    lastError_ = GetLastError();
    return false;
}

void Win32HotkeyService::Unregister(HWND owner, int id) { UnregisterHotKey(owner, id); }

ATOM Win32HotkeyService::AddGlobalAtom(const wchar_t* name) { return GlobalAddAtomW(name); }

void Win32HotkeyService::DeleteGlobalAtom(ATOM atom) { GlobalDeleteAtom(atom); }

std::wstring LayoutKeyName(std::uint8_t virtualKey) {
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    if (scanCode == 0) return {};
    wchar_t name[256] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name, 256);
    return length > 0 ? std::wstring(name, static_cast<size_t>(length)) : std::wstring();
}

bool TextEqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                           static_cast<int>(b.size()), nullptr, nullptr, 0) == CSTR_EQUAL;
}

bool TextStartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && TextEqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace hc
