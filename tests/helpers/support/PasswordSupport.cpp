#include "PasswordSupport.h"

#include <gtest/gtest.h>
#include <aclapi.h>

#include <algorithm>

#include "PanicDriver.h"
#include "TestSupport.h"

namespace hctest {

namespace {
ModalScript* running = nullptr;
}

std::vector<BYTE> RawRegistryValue(const std::wstring& path, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key)) return {};
    DWORD bytes = 0;
    std::vector<BYTE> data;
    if (!RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &bytes)) {
        data.resize(bytes);
        if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, data.data(), &bytes)) data.clear();
    }
    RegCloseKey(key);
    return data;
}

ScopedUnreadableKey::ScopedUnreadableKey(std::wstring path) : path_(std::move(path)) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr)) return;
    // Everyone may change the key's rights and delete it, but not read its values.
    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = WRITE_DAC | READ_CONTROL | DELETE | KEY_SET_VALUE;
    access.grfAccessMode = SET_ACCESS;
    access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    access.Trustee.ptstrName = const_cast<LPWSTR>(L"EVERYONE");
    PACL acl = nullptr;
    SECURITY_DESCRIPTOR descriptor{};
    if (SetEntriesInAclW(1, &access, nullptr, &acl) == ERROR_SUCCESS &&
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE))
        inForce_ = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    LocalFree(acl);
    RegCloseKey(key);
}

ScopedUnreadableKey::~ScopedUnreadableKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, WRITE_DAC, &key)) return;
    SECURITY_DESCRIPTOR open{};
    InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&open, FALSE, nullptr, FALSE);  // no list: everyone may do everything again
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &open);
    RegCloseKey(key);
}

bool ContainsText(const std::vector<BYTE>& bytes, const std::wstring& text) {
    std::vector<BYTE> wide, narrow;
    for (wchar_t c : text) {
        wide.push_back(static_cast<BYTE>(c & 0xFF));
        wide.push_back(static_cast<BYTE>(c >> 8));
        narrow.push_back(static_cast<BYTE>(c));
    }
    auto holds = [&](const std::vector<BYTE>& needle) {
        return std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) != bytes.end();
    };
    return holds(wide) || holds(narrow);
}

ModalScript::ModalScript() {
    // A quit message left in this thread's queue ends every modal loop at once, before any step could run.
    MSG quit{};
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "an earlier test left a WM_QUIT";
    running = this;
    timer_ = SetTimer(nullptr, 0, 20, &Tick);
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, timer_);
    running = nullptr;
}

ModalScript& ModalScript::Then(const wchar_t* caption, std::function<void(HWND)> step) {
    steps_.push_back({caption, std::move(step)});
    return *this;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* script = running;
    // A step that opens a modal loop of its own must not be entered again from inside it.
    if (!script || script->running_ || script->steps_.empty()) return;
    HWND dialog = OwnDialog(script->steps_.front().caption.c_str());
    if (!dialog) return;
    const auto step = std::move(script->steps_.front().run);
    script->steps_.pop_front();
    script->running_ = true;
    step(dialog);
    script->running_ = false;
}

std::vector<HWND> DialogsOf(DWORD processId, const wchar_t* caption) {
    std::vector<HWND> found;
    for (HWND w : WindowsOf(processId, L"#32770")) {
        wchar_t title[256] = {};
        GetWindowTextW(w, title, 256);
        if (IsWindowVisible(w) && std::wstring(title) == caption) found.push_back(w);
    }
    return found;
}

HWND OwnDialog(const wchar_t* caption) {
    const auto found = DialogsOf(GetCurrentProcessId(), caption);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForDialogOf(DWORD processId, const wchar_t* caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            const auto dialogs = DialogsOf(processId, caption);
            found = dialogs.empty() ? nullptr : dialogs.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

int CountDialogsOf(DWORD processId, const wchar_t* caption) {
    return static_cast<int>(DialogsOf(processId, caption).size());
}

std::wstring AnswerBoxOf(DWORD processId, const wchar_t* caption, DWORD timeoutMs) {
    HWND box = WaitForDialogOf(processId, caption, timeoutMs);
    if (!box) return L"(no box)";
    const std::wstring text = MessageBoxText(box);
    SettleForeground();  // as AnswerBox does
    ClickButton(box, IDOK);
    WaitUntil([&] { return !IsWindow(box); }, timeoutMs);
    return text;
}

void RightClickAt(HWND window) {
    // The move goes with the clicks: a cursor set apart reaches the X server later, and the click then lands where
    // the cursor was before.
    ClickMiddleOf(window, true);
}

void Type(HWND dialog, int controlId, const std::wstring& text) { SetDlgItemTextW(dialog, controlId, text.c_str()); }

void Press(HWND dialog, int buttonId) { SendMessageW(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0); }

std::wstring ControlText(HWND dialog, int controlId) {
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, controlId, text, 512);
    return text;
}

void PressKeyInDialog(HWND dialog, WORD key) {
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    if (!IsDialogMessageW(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void SaveShot(const std::wstring& name) {
    const std::wstring folder = BinFolder() + L"..\\shots";
    CreateDirectoryW(folder.c_str(), nullptr);
    SaveScreenshot(folder + L"\\" + name + L".bmp");
}

}  // namespace hctest
