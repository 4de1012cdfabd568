#pragma once
#include <optional>
#include <string>

#include "platform/Handles.h"

namespace hc {

// A process the program started, known by its handle so a recycled id is never mistaken for it.
struct StartedProcess {
    DWORD id = 0;  // 0 when no new process was started (the file went to a program that already ran)
    UniqueHandle handle;
};

// Where the window lists' small icons come from.
class IconSource {
public:
    virtual ~IconSource() = default;
    // The small icon the shell shows for a file; empty when it has none. May be slow (a network path).
    virtual UniqueHicon SmallFileIcon(const std::wstring& path) = 0;
};

class ShellIconSource final : public IconSource {
public:
    UniqueHicon SmallFileIcon(const std::wstring& path) override;
};

}  // namespace hc

namespace hc::shell {

// The small icon the shell shows for a file; empty when it has none.
UniqueHicon SmallFileIcon(const std::wstring& path);

// A special folder (CSIDL_...) without a trailing separator; empty when the lookup fails.
std::wstring SpecialFolderPath(int csidl);
std::wstring CommonAppDataFolder();

bool FolderExists(const std::wstring& path);
// Creates a folder with every missing parent. Returns how many folders it created, -1 on failure.
int CreateFolderTree(const std::wstring& path);

// A relative name expanded against the current directory, kept as written otherwise.
std::wstring FullPathName(const std::wstring& name);

// Opens a program or document with the shell's default action, shown normally; nullopt when the launch failed.
std::optional<StartedProcess> OpenWithDefaultAction(const std::wstring& file);

}  // namespace hc::shell
