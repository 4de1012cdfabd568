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
    std::uint64_t bootTime = 0;  // FILETIME ticks: a record of an earlier boot names windows that are gone
    std::vector<JournalEntry> entries;
    friend bool operator==(const JournalRecord&, const JournalRecord&) = default;
};

inline constexpr std::uint32_t kJournalVersion = 1;

std::vector<std::uint8_t> EncodeJournal(const JournalRecord& record);
// nullopt for anything EncodeJournal did not write: truncated, garbage, another version.
std::optional<JournalRecord> DecodeJournal(const std::vector<std::uint8_t>& bytes);

// True when the two boot times name the same boot (they are computed, so they may differ by a moment).
bool SameBoot(std::uint64_t a, std::uint64_t b);

// The entries whose window still exists, still belongs to the same process (same id and creation time) and is
// still hidden, as hidden-list entries with the window's current title.
HiddenWindowList StillHiddenWindows(const std::vector<JournalEntry>& entries, WindowSystem& windows,
                                    ProcessSystem& processes);

// The journal in the user's registry, beside the settings.
class RegistryJournal final : public HiddenJournal {
public:
    explicit RegistryJournal(std::uint64_t bootTime) : bootTime_(bootTime) {}
    bool Save(const HiddenWindowList& hidden) override;

    enum class Found { Nothing, Current, EarlierBoot, Unreadable };
    struct Loaded {
        Found found = Found::Nothing;
        std::vector<JournalEntry> entries;
    };
    // Reads what an earlier run left. A record of an earlier boot is cleared; an unreadable one is moved aside.
    Loaded TakeOver();

private:
    std::uint64_t bootTime_;
};

inline constexpr wchar_t kJournalValue[] = L"HiddenWindows";
inline constexpr wchar_t kUnreadableJournalValue[] = L"HiddenWindows.unreadable";

}  // namespace hc
