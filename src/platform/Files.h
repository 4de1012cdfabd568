#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hc::files {

// The full paths of every file and folder directly inside the folder ("." and ".." left out); nullopt when the
// folder cannot be read.
std::optional<std::vector<std::wstring>> FolderEntries(const std::wstring& folder);

// The folder of recently used documents (CSIDL_RECENT), no trailing separator; empty when it cannot be found.
std::wstring RecentDocumentsFolder();

// Text files in the system's 8-bit code page, converted at this one place.
// The lines of a file, each without its CR LF or LF ending; nullopt when the file cannot be read.
std::optional<std::vector<std::wstring>> ReadLines(const std::wstring& path);
// Creates or overwrites the file with each line followed by CR LF. False on any failure; what was written
// before it stays in the file.
bool WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines);
bool Exists(const std::wstring& path);
// True when the file is gone afterwards (also when it never existed).
bool Delete(const std::wstring& path);
// Text in the system's 8-bit code page.
std::string ToCodePage(const std::wstring& text);
std::wstring FromCodePage(const std::string& bytes);
// Keeps a file open for reading only, so nobody can change, rename or delete it while it is held.
class Lock {
public:
    explicit Lock(const std::wstring& path);
    ~Lock() { Release(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    bool IsHeld() const { return handle_ != nullptr; }
    void Release();

private:
    void* handle_ = nullptr;
};

// The whole file; nullopt when it cannot be read or holds more than maxBytes.
std::optional<std::vector<std::uint8_t>> ReadBytes(const std::wstring& path, size_t maxBytes);
// Writes the bytes to a temporary name beside the file and renames it over the file, creating the folder when
// missing: a reader sees the old file or the new one, never part of each. False on any failure.
bool ReplaceWithBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
// Renames a file, replacing what has the new name.
bool Rename(const std::wstring& from, const std::wstring& to);
// The file version of a program's version resource (major, minor, release, build); nullopt when it has none.
std::optional<std::array<unsigned, 4>> FileVersion(const std::wstring& path);
// The user's folder of local application data (CSIDL_LOCAL_APPDATA), no trailing separator; empty when unknown.
std::wstring LocalAppDataFolder();

// The value of an environment variable; empty when unset.
std::wstring EnvironmentVariable(const std::wstring& name);

}  // namespace hc::files
