#pragma once
#include "settings/Configuration.h"
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/Collaborators.h"
#include "engine/HiddenWindowList.h"

namespace hc {

class WindowSystem;
class ProcessSystem;

// One hidden window as the journal keeps it: whose window it was, never what it showed.
struct JournalEntry {
    std::uint32_t handle = 0;
    std::uint32_t processId = 0;
    std::uint64_t processCreation = 0;
    friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

struct JournalRecord {
    // When the computer started (FILETIME ticks). Never used to discard a record: a clock correction moves it,
    // and the process creation times already tell a window of this boot from one of an earlier boot. Written
    // so that an older build still accepts a record of the same boot.
    std::uint64_t bootTime = 0;
    std::vector<JournalEntry> entries;
    friend bool operator==(const JournalRecord&, const JournalRecord&) = default;
};

inline constexpr std::uint32_t kJournalVersion = 1;

std::vector<std::uint8_t> EncodeJournal(const JournalRecord& record);
// nullopt for anything EncodeJournal did not write: truncated, garbage, another version.
std::optional<JournalRecord> DecodeJournal(const std::vector<std::uint8_t>& bytes);

// The entries whose window still exists, still belongs to the same process (same id and creation time) and is
// still hidden, as hidden-list entries with the window's current title.
HiddenWindowList StillHiddenWindows(const std::vector<JournalEntry>& entries, WindowSystem& windows,
                                    ProcessSystem& processes);

// Where the records live: the registry value, and a file for when the registry refuses to take it.
struct JournalPlaces {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring key = kRecoveryKey;
    std::wstring file;  // empty: no second record
};
// Under the user's local application data: %LOCALAPPDATA%\HushCloak\HiddenWindows.journal.
JournalPlaces DefaultJournalPlaces();

// The journal in the user's registry, beside the settings, with a file where the registry refuses.
class RegistryJournal final : public HiddenJournal {
public:
    explicit RegistryJournal(std::uint64_t bootTime, JournalPlaces places = DefaultJournalPlaces())
        : bootTime_(bootTime), places_(std::move(places)) {}
    // The registry first; the file only when the registry refuses (and then the registry is tried again at the
    // next save). True when one of them holds the list.
    bool Save(const HiddenWindowList& hidden) override;

    // Reads what an earlier run left in either place and returns the windows that are still hidden and still
    // the same process's. Nothing is deleted that could not be used: a record that cannot be read is moved
    // aside, and the entries that match no window are kept aside too. The records stay in place while they
    // name windows to take over (the engine's next save replaces them); otherwise they are cleared.
    HiddenWindowList TakeOver(WindowSystem& windows, ProcessSystem& processes);

    const JournalPlaces& Places() const { return places_; }

private:
    std::optional<std::vector<JournalEntry>> ReadRegistry();
    std::optional<std::vector<JournalEntry>> ReadFile();
    void KeepAside(const std::vector<JournalEntry>& unmatched);
    void Clear();

    std::uint64_t bootTime_;
    JournalPlaces places_;
    bool fileMayExist_ = true;  // until a save has seen it gone: a save then costs the registry write alone
};

inline constexpr wchar_t kJournalValue[] = L"HiddenWindows";
inline constexpr wchar_t kUnreadableJournalValue[] = L"HiddenWindows.unreadable";
inline constexpr wchar_t kUnmatchedJournalValue[] = L"HiddenWindows.unmatched";
inline constexpr wchar_t kUnreadableSuffix[] = L".unreadable";
inline constexpr wchar_t kUnmatchedSuffix[] = L".unmatched";

}  // namespace hc
