#include "UpdateSupport.h"

#include <tlhelp32.h>
#include <wincrypt.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

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
    window_ =
        CreateWindowExW(0, kProbeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
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

namespace {
std::vector<DWORD> ProcessesNamed(const std::wstring& exeName) {
    std::vector<DWORD> ids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, exeName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}
}  // namespace

bool ProcessNamedRuns(const std::wstring& exeName) { return !ProcessesNamed(exeName).empty(); }

void EndProcessesNamed(const std::wstring& exeName) {
    for (DWORD id : ProcessesNamed(exeName)) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

std::string FileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

namespace {
HCERTSTORE OpenUserRoot() {
    return CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
}
}  // namespace

ScopedTrustedRoot::ScopedTrustedRoot(const std::wstring& derPath) : der_(FileBytes(derPath)) {
    HCERTSTORE store = der_.empty() ? nullptr : OpenUserRoot();
    if (!store) return;
    // No context is kept: a context holds its store open, and the store reaches the registry (where other
    // processes read it) only when it is closed.
    trusted_ = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der_.data()),
                                                static_cast<DWORD>(der_.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                                nullptr) != FALSE;
    CertCloseStore(store, 0);
}

ScopedTrustedRoot::~ScopedTrustedRoot() {
    if (!trusted_) return;
    HCERTSTORE store = OpenUserRoot();
    if (!store) return;
    PCCERT_CONTEXT wanted = CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der_.data()),
                                                         static_cast<DWORD>(der_.size()));
    if (wanted) {
        // Deleting frees the found context as well.
        if (PCCERT_CONTEXT found =
                CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, wanted, nullptr))
            CertDeleteCertificateFromStore(found);
        CertFreeCertificateContext(wanted);
    }
    CertCloseStore(store, 0);
}

ScopedUpdateServerVariable::ScopedUpdateServerVariable(const std::wstring& origin) {
    SetEnvironmentVariableW(hc::kUpdateServerVariable, origin.c_str());
}

ScopedUpdateServerVariable::~ScopedUpdateServerVariable() {
    SetEnvironmentVariableW(hc::kUpdateServerVariable, nullptr);
}

}  // namespace hctest
