#include "HcFixture.h"

#include "TrayDriver.h"

namespace hctest {

std::optional<std::wstring> StoredString(const std::wstring& section, const std::wstring& name) {
    wchar_t text[512] = {};
    DWORD size = sizeof(text);
    const std::wstring key = L"HushCloak\\" + section;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

void HcFixture::StartInTray() {
    key_.SetString(L"StartUp", L"Tray", L"1");
    key_.SetString(L"StartUp", L"PanicLeft", L"700");
    key_.SetString(L"StartUp", L"PanicTop", L"600");
    ASSERT_TRUE(hc_.Start());
    ASSERT_TRUE(hc_.WaitUntilStarted());
    ASSERT_TRUE(WaitForTrayIconCount(1)) << "no icon in the notification area";
}

HWND HcFixture::StartWithMainWindow() {
    EXPECT_TRUE(hc_.Start());
    ui_ = MainWindowDriver(hc_.ProcessId());
    return ui_.WaitUntilShown();
}

HWND HcFixture::VisibleWindowOfHc(const std::wstring& caption) const {
    for (HWND window : VisibleWindowsOf(hc_.ProcessId())) {
        if (WindowText(window) == caption) return window;
    }
    return nullptr;
}

}  // namespace hctest
