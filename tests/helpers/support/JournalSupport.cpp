#include "JournalSupport.h"

#include "engine/Journal.h"
#include "platform/Processes.h"

namespace hctest {

bool StoreJournalOfKilledRun(const std::vector<HWND>& hidden) {
    hc::Win32ProcessSystem processes;
    hc::JournalRecord record{hc::processes::BootTime(), {}};
    for (HWND window : hidden) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        record.entries.push_back({static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)), processId,
                                  processes.Info(processId).creationTime});
    }
    const std::vector<std::uint8_t> bytes = hc::EncodeJournal(record);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"HushCloak\\Recovery", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr))
        return false;
    const bool stored = RegSetValueExW(key, L"HiddenWindows", 0, REG_BINARY, bytes.data(),
                                       static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    RegCloseKey(key);
    return stored;
}

}  // namespace hctest
