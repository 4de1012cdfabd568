#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace hc {

inline constexpr wchar_t kRenameBoxTitle[] = L"Change Panic button description";
inline constexpr wchar_t kRenameBoxPrompt[] = L"Enter the new description in space provided";

// Asks for a new description of the Panic Button, modal to owner, with the current one as the preset.
// The typed text on OK; nullopt on Cancel, so the caller keeps what it had.
std::optional<std::wstring> AskPanicDescription(HWND owner, const std::wstring& current);

}  // namespace hc
