#include "UpdateSupport.h"

#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace hctest {

namespace {
constexpr wchar_t kProbeClass[] = L"HcTestPostedAction";
constexpr UINT kRun = WM_APP + 7;
}  // namespace

PostedAction::PostedAction() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kProbeClass;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(0, kProbeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PostedAction::~PostedAction() { DestroyWindow(window_); }

void PostedAction::Post(std::function<void()> action) {
    action_ = std::move(action);
    ran_ = false;
    PostMessageW(window_, kRun, 0, 0);
}

LRESULT CALLBACK PostedAction::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<PostedAction*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (msg == kRun && self) {
        self->ran_ = true;
        if (self->action_) self->action_();
        return 0;
    }
    return DefWindowProcW(window, msg, wp, lp);
}

bool ProcessNamedRuns(const std::wstring& exeName) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = _wcsicmp(entry.szExeFile, exeName.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}

std::string FileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace hctest
