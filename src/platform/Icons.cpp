#include "platform/Icons.h"

#include <shellapi.h>

#include <vector>

#include "platform/Com.h"

namespace hc {

namespace {
// The shell's own limit for the picker's file name buffer.
constexpr UINT kPickerBufferLength = 261;
using PickIconDlgFunction = int(WINAPI*)(HWND, PWSTR, UINT, int*);

std::wstring Expanded(const std::wstring& file) {
    const DWORD needed = ExpandEnvironmentStringsW(file.c_str(), nullptr, 0);
    if (needed == 0) return file;
    std::vector<wchar_t> buffer(needed, L'\0');
    if (ExpandEnvironmentStringsW(file.c_str(), buffer.data(), needed) == 0) return file;
    return buffer.data();
}
}  // namespace

namespace icons {

int CountIcons(const std::wstring& file) {
    const UINT count = ExtractIconExW(Expanded(file).c_str(), -1, nullptr, nullptr, 0);
    // ExtractIconExW answers UINT_MAX for a file it cannot read.
    return count == UINT_MAX ? 0 : static_cast<int>(count);
}

IconPair Extract(const std::wstring& file, int index) {
    IconPair pair;
    if (index < 0) return pair;  // negative indexes name resource ids, not positions
    HICON large = nullptr;
    HICON small = nullptr;
    if (ExtractIconExW(Expanded(file).c_str(), index, &large, &small, 1) == 0) return pair;
    pair.large.reset(large);
    pair.small.reset(small);
    return pair;
}

UniqueHicon ProgramIcon(int resourceId, bool small) {
    const int width = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
    const int height = GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON);
    if (HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, width, height, 0))
        return UniqueHicon(static_cast<HICON>(icon));
    // The system's icon is shared and must not be destroyed: the copy has one owner like every icon here.
    return UniqueHicon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
}

}  // namespace icons

IconChoice ShellIconPicker::Pick(HWND owner, const std::wstring& file, int index) {
    IconChoice choice;
    choice.outcome = IconChoice::Outcome::Unavailable;
    // The program loads the shell's library at its first use; the picker may be that use.
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (!shell) shell = LoadLibraryW(L"shell32.dll");  // stays loaded for the run, like every system library here
    if (!shell) return choice;
    JoinComApartment();
    auto pick =
        reinterpret_cast<PickIconDlgFunction>(reinterpret_cast<void*>(GetProcAddress(shell, MAKEINTRESOURCEA(62))));
    if (!pick) return choice;
    std::vector<wchar_t> buffer(kPickerBufferLength, L'\0');
    file.copy(buffer.data(), kPickerBufferLength - 1);
    int chosen = index;
    const int result = pick(owner, buffer.data(), kPickerBufferLength, &chosen);
    // 1 is OK and 0 Cancel; anything else means no dialog was shown.
    if (result == 0) choice.outcome = IconChoice::Outcome::Cancelled;
    if (result != 1) return choice;
    choice.outcome = IconChoice::Outcome::Confirmed;
    choice.file = buffer.data();
    choice.index = chosen;
    return choice;
}

}  // namespace hc
