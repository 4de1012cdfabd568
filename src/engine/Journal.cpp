#include "engine/Journal.h"

#include "platform/Locale.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/WindowSystem.h"
#include "settings/Conversions.h"

namespace hc {

namespace {
constexpr std::uint8_t kMagic[4] = {'H', 'C', 'J', 'R'};
constexpr size_t kHeaderSize = 4 + 4 + 8 + 4;
constexpr size_t kEntrySize = 4 + 4 + 8;
constexpr size_t kChecksumSize = 4;

std::uint32_t Checksum(const std::uint8_t* data, size_t size) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

template <class T>
void Put(std::vector<std::uint8_t>& out, T value) {
    for (size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

template <class T>
T Get(const std::uint8_t* at) {
    T value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(at[i]) << (8 * i);
    return value;
}

JournalEntry ToJournal(const HiddenWindow& entry) {
    const auto handle = TextToHandle(entry.handleText).value_or(nullptr);
    return JournalEntry{static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle)), entry.processId,
                        entry.processCreation};
}
}  // namespace

std::vector<std::uint8_t> EncodeJournal(const JournalRecord& record) {
    std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
    Put(out, kJournalVersion);
    Put(out, record.bootTime);
    Put(out, static_cast<std::uint32_t>(record.entries.size()));
    for (const JournalEntry& entry : record.entries) {
        Put(out, entry.handle);
        Put(out, entry.processId);
        Put(out, entry.processCreation);
    }
    Put(out, Checksum(out.data(), out.size()));
    return out;
}

std::optional<JournalRecord> DecodeJournal(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kHeaderSize + kChecksumSize) return std::nullopt;
    const std::uint8_t* data = bytes.data();
    if (!std::equal(std::begin(kMagic), std::end(kMagic), data)) return std::nullopt;
    if (Get<std::uint32_t>(data + 4) != kJournalVersion) return std::nullopt;
    const std::uint32_t count = Get<std::uint32_t>(data + 16);
    if (bytes.size() != kHeaderSize + count * kEntrySize + kChecksumSize) return std::nullopt;
    const size_t body = bytes.size() - kChecksumSize;
    if (Get<std::uint32_t>(data + body) != Checksum(data, body)) return std::nullopt;
    JournalRecord record;
    record.bootTime = Get<std::uint64_t>(data + 8);
    for (size_t at = kHeaderSize; at < body; at += kEntrySize)
        record.entries.push_back(JournalEntry{Get<std::uint32_t>(data + at), Get<std::uint32_t>(data + at + 4),
                                              Get<std::uint64_t>(data + at + 8)});
    return record;
}

bool SameBoot(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t kTolerance = 10ull * 10'000'000;  // ten seconds of clock adjustment
    return (a > b ? a - b : b - a) <= kTolerance;
}

HiddenWindowList StillHiddenWindows(const std::vector<JournalEntry>& entries, WindowSystem& windows,
                                    ProcessSystem& processes) {
    HiddenWindowList found;
    const std::wstring stamp = DateAndTimeStamp(locale::Now());
    for (const JournalEntry& entry : entries) {
        const HWND window = static_cast<HWND>(TextToHandle(IntToText(entry.handle)).value_or(nullptr));
        if (!window || !windows.Exists(window) || windows.IsVisible(window)) continue;
        if (windows.ProcessId(window) != entry.processId) continue;
        if (processes.Info(entry.processId).creationTime != entry.processCreation) continue;
        found.push_back(HiddenWindow{HandleToText(window), windows.Title(window), stamp, entry.processId,
                                     entry.processCreation});
    }
    return found;
}

bool RegistryJournal::Save(const HiddenWindowList& hidden) {
    UniqueHkey key = registry::CreateKey(HKEY_CURRENT_USER, kRecoveryKey);
    if (!key) return false;
    if (hidden.empty()) return registry::DeleteValue(key.get(), kJournalValue) || !registry::ValueExists(key.get(), kJournalValue);
    JournalRecord record{bootTime_, {}};
    record.entries.reserve(hidden.size());
    for (const HiddenWindow& entry : hidden) record.entries.push_back(ToJournal(entry));
    return registry::WriteBinary(key.get(), kJournalValue, EncodeJournal(record));
}

RegistryJournal::Loaded RegistryJournal::TakeOver() {
    Loaded loaded;
    UniqueHkey key = registry::OpenKey(HKEY_CURRENT_USER, kRecoveryKey, KEY_READ | KEY_WRITE);
    if (!key) return loaded;
    // Any value of that name counts, whatever its type: an unreadable one must be moved aside too.
    if (!registry::ValueExists(key.get(), kJournalValue)) return loaded;
    const auto bytes = registry::ReadBinary(key.get(), kJournalValue);
    const auto record = bytes ? DecodeJournal(*bytes) : std::nullopt;
    if (!record) {
        loaded.found = Found::Unreadable;
        registry::WriteBinary(key.get(), kUnreadableJournalValue, bytes.value_or(std::vector<std::uint8_t>{}));
    } else if (!SameBoot(record->bootTime, bootTime_)) {
        loaded.found = Found::EarlierBoot;
    } else {
        // Left in place: the engine replaces it with the windows it takes over.
        loaded.found = Found::Current;
        loaded.entries = record->entries;
        return loaded;
    }
    registry::DeleteValue(key.get(), kJournalValue);
    return loaded;
}

}  // namespace hc
