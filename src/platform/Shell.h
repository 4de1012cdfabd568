#pragma once
#include <optional>
#include <string>

#include "platform/Handles.h"

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

// Opens a program or document with the shell's default action, shown normally. The started process's id
// (0 when no new process was started for it); nullopt when the launch failed.
std::optional<DWORD> OpenWithDefaultAction(const std::wstring& file);

}  // namespace hc::shell
