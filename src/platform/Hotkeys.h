#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace hc {

// System-wide hotkeys and the global atoms that name them, as the logic sees them.
class HotkeyService {
public:
    virtual ~HotkeyService() = default;
    // False when refused; LastError() then says why (ERROR_HOTKEY_ALREADY_REGISTERED when anyone holds it).
    virtual bool Register(HWND owner, int id, UINT modifiers, UINT key) = 0;
    virtual DWORD LastError() const = 0;
    virtual void Unregister(HWND owner, int id) = 0;
    virtual ATOM AddGlobalAtom(const wchar_t* name) = 0;  // 0 on failure
    virtual void DeleteGlobalAtom(ATOM atom) = 0;
    // A fresh id for an application hotkey: from 1 up, wrapping below 0xC000 where the global atoms lie.
    int NewId();

private:
    int lastId_ = 0;
};

// The real hotkeys of the window manager.
class Win32HotkeyService final : public HotkeyService {
public:
    bool Register(HWND owner, int id, UINT modifiers, UINT key) override;
    DWORD LastError() const override { return lastError_; }
    void Unregister(HWND owner, int id) override;
    ATOM AddGlobalAtom(const wchar_t* name) override;
    void DeleteGlobalAtom(ATOM atom) override;

private:
    DWORD lastError_ = ERROR_SUCCESS;
};

// The keyboard layout's name of a virtual key ("Num Lock", ";"), empty when the layout has none.
std::wstring LayoutKeyName(std::uint8_t virtualKey);

// Comparisons of key texts as the user's locale sees them, ignoring case.
bool TextEqualsIgnoringCase(std::wstring_view a, std::wstring_view b);
bool TextStartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix);

}  // namespace hc
