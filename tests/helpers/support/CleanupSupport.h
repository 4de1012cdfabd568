#pragma once
#include <windows.h>
#include <objbase.h>

#include <optional>
#include <string>
#include <vector>

namespace hctest {

// Empty when this run has the private HOME, XDG data folder and Wine prefix the test scripts make, so that a
// test may empty the Recycle Bin or delete files; otherwise why not. Tests that delete call it first.
std::wstring WhyNotPrivateSandbox();

// COM apartment-threaded on this thread for the life of the object, as the program has it.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// Where Wine keeps the Recycle Bin's files: $XDG_DATA_HOME/Trash/files as a Windows path.
std::wstring TrashFilesFolder();
// Deletes everything in Wine's Recycle Bin folders for good. Wine's own emptying leaves folders behind, so tests
// that count what is in the bin start from this. Call only after WhyNotPrivateSandbox() said yes.
void ClearTrash();
// The names directly inside a folder, sorted; empty when it is missing.
std::vector<std::wstring> NamesIn(const std::wstring& folder);
bool WriteTextFile(const std::wstring& path, const std::string& text);
bool PathExists(const std::wstring& path);

// The Task Manager policy value as it stands: its data when it is a REG_SZ, "(type N)" for another type,
// nullopt when absent.
std::optional<std::wstring> TaskManagerPolicy();
// The program's record that it wrote the policy; nullopt when absent.
std::optional<DWORD> TaskManagerPolicyRecord();
// The value that earlier versions wrote under the machine's Run key to probe for administrator rights.
inline constexpr wchar_t kMachineRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
bool ProbeValueExists();

// Removes the Task Manager policy value now and again when it goes, so a test never leaves it behind.
class ScopedTaskManagerPolicy {
public:
    ScopedTaskManagerPolicy();
    ~ScopedTaskManagerPolicy();
    ScopedTaskManagerPolicy(const ScopedTaskManagerPolicy&) = delete;
    ScopedTaskManagerPolicy& operator=(const ScopedTaskManagerPolicy&) = delete;
    // Sets the value as another program (or an administrator) would.
    void SetByOthers(const std::wstring& data = L"1");
    // Sets the value and the program's record, as a run that ended without clearing them leaves them.
    void SetAsLeftByARun();
};

}  // namespace hctest
