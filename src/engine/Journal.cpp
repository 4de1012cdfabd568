#include "engine/Journal.h"

#include <algorithm>

#include "platform/Files.h"
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
// More windows than a desktop can hold: a larger record is damaged, and is not read into memory.
constexpr size_t kMaxJournalBytes = kHeaderSize + 65536 * kEntrySize + kChecksumSize;

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
    return JournalEntry{static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(entry.handle)), entry.processId,
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

HiddenWindowList StillHiddenWindows(const std::vector<JournalEntry>& entries, WindowSystem& windows,
                                    ProcessSystem& processes) {
    HiddenWindowList found;
    const std::wstring stamp = DateAndTimeStamp(locale::Now());
    for (const JournalEntry& entry : entries) {
        const HWND window = static_cast<HWND>(TextToHandle(IntToText(entry.handle)).value_or(nullptr));
        if (!window || !windows.Exists(window) || windows.IsVisible(window)) continue;
        if (windows.ProcessId(window) != entry.processId) continue;
        if (processes.Info(entry.processId).creationTime != entry.processCreation) continue;
        found.push_back(HiddenWindow{window, windows.Title(window), stamp, entry.processId,
                                     entry.processCreation});
    }
    return found;
}

JournalPlaces DefaultJournalPlaces() {
    JournalPlaces places;
    const std::wstring folder = files::LocalAppDataFolder();
    if (!folder.empty()) places.file = folder + L"\\HushCloak\\HiddenWindows.journal";
    return places;
}

bool RegistryJournal::Save(const HiddenWindowList& hidden) {
    std::optional<std::vector<std::uint8_t>> bytes;
    if (!hidden.empty()) {
        JournalRecord record{bootTime_, {}};
        record.entries.reserve(hidden.size());
        for (const HiddenWindow& entry : hidden) record.entries.push_back(ToJournal(entry));
        bytes = EncodeJournal(record);
    }
    bool inRegistry = false;
    if (UniqueHkey key = registry::CreateKey(places_.root, places_.key)) {
        inRegistry = bytes ? registry::WriteBinary(key.get(), kJournalValue, *bytes)
                           : registry::DeleteValue(key.get(), kJournalValue) ||
                                 !registry::ValueExists(key.get(), kJournalValue);
    }
    if (places_.file.empty()) return inRegistry;
    if (inRegistry) {
        // The file is only ever the newer record; once the registry took the list again it must not outlive it.
        if (!fileMayExist_ || files::Delete(places_.file)) {
            fileMayExist_ = false;
            return true;
        }
        return bytes ? files::ReplaceWithBytes(places_.file, *bytes) : true;
    }
    fileMayExist_ = true;
    return bytes ? files::ReplaceWithBytes(places_.file, *bytes) : files::Delete(places_.file);
}

std::optional<std::vector<JournalEntry>> RegistryJournal::ReadRegistry() {
    UniqueHkey key = registry::OpenKey(places_.root, places_.key, KEY_READ | KEY_WRITE);
    const bool writable = static_cast<bool>(key);
    if (!key) key = registry::OpenKey(places_.root, places_.key, KEY_READ);
    // Any value of that name counts, whatever its type: an unreadable one must be moved aside too.
    if (!key || !registry::ValueExists(key.get(), kJournalValue)) return std::nullopt;
    const auto bytes = registry::ReadBinary(key.get(), kJournalValue, kMaxJournalBytes);
    if (const auto record = bytes ? DecodeJournal(*bytes) : std::nullopt) return record->entries;
    // Deleted only once its copy is safe: a store that refuses the copy keeps the original.
    if (writable &&
        registry::WriteBinary(key.get(), kUnreadableJournalValue, bytes.value_or(std::vector<std::uint8_t>{})))
        registry::DeleteValue(key.get(), kJournalValue);
    return std::nullopt;
}

std::optional<std::vector<JournalEntry>> RegistryJournal::ReadFile() {
    if (places_.file.empty() || !files::Exists(places_.file)) return std::nullopt;
    const auto bytes = files::ReadBytes(places_.file, kMaxJournalBytes);
    if (const auto record = bytes ? DecodeJournal(*bytes) : std::nullopt) return record->entries;
    // Nothing else can be done for it here: a rename that fails leaves it to the next start.
    files::Rename(places_.file, places_.file + kUnreadableSuffix);
    return std::nullopt;
}

void RegistryJournal::KeepAside(const std::vector<JournalEntry>& unmatched) {
    const std::vector<std::uint8_t> bytes = EncodeJournal(JournalRecord{bootTime_, unmatched});
    if (UniqueHkey key = registry::CreateKey(places_.root, places_.key))
        if (registry::WriteBinary(key.get(), kUnmatchedJournalValue, bytes)) return;
    // Kept for whoever looks; should both places refuse, those windows are gone or a stranger's anyway.
    if (!places_.file.empty()) files::ReplaceWithBytes(places_.file + kUnmatchedSuffix, bytes);
}

void RegistryJournal::Clear() {
    // A record that cannot be cleared is harmless: its windows are visible now or gone, and match nothing.
    if (UniqueHkey key = registry::OpenKey(places_.root, places_.key, KEY_READ | KEY_WRITE))
        registry::DeleteValue(key.get(), kJournalValue);
    if (!places_.file.empty()) files::Delete(places_.file);
}

HiddenWindowList RegistryJournal::TakeOver(WindowSystem& windows, ProcessSystem& processes) {
    std::vector<JournalEntry> entries = ReadRegistry().value_or(std::vector<JournalEntry>{});
    for (const JournalEntry& entry : ReadFile().value_or(std::vector<JournalEntry>{}))
        if (std::find(entries.begin(), entries.end(), entry) == entries.end()) entries.push_back(entry);
    if (entries.empty()) {
        Clear();
        return {};
    }
    HiddenWindowList found = StillHiddenWindows(entries, windows, processes);
    std::vector<JournalEntry> unmatched;
    for (const JournalEntry& entry : entries) {
        const bool matched = std::any_of(found.begin(), found.end(), [&](const HiddenWindow& window) {
            return ToJournal(window) == entry;
        });
        if (!matched) unmatched.push_back(entry);
    }
    if (!unmatched.empty()) KeepAside(unmatched);
    if (found.empty()) Clear();
    return found;
}

}  // namespace hc
