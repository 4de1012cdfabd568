#include "platform/RunKeys.h"

#include "platform/Registry.h"

namespace hc {

namespace {
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

HKEY Root(RunScope scope) { return scope == RunScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// The machine-wide key always exists; a fresh user profile may lack its own.
UniqueHkey OpenForWriting(RunScope scope) {
    if (scope == RunScope::User) return registry::CreateKey(HKEY_CURRENT_USER, kRunKey);
    return registry::OpenKey(HKEY_LOCAL_MACHINE, kRunKey, KEY_READ | KEY_WRITE);
}
}  // namespace

bool Win32RunKeys::Exists(RunScope scope, const std::wstring& name) {
    const UniqueHkey key = registry::OpenKey(Root(scope), kRunKey, KEY_READ);
    return key && registry::ReadString(key.get(), name).has_value();
}

bool Win32RunKeys::Write(RunScope scope, const std::wstring& name, const std::wstring& command) {
    const UniqueHkey key = OpenForWriting(scope);
    return key && registry::WriteString(key.get(), name, command);
}

bool Win32RunKeys::Delete(RunScope scope, const std::wstring& name) {
    if (!Exists(scope, name)) return true;
    const UniqueHkey key = OpenForWriting(scope);
    return key && registry::DeleteValue(key.get(), name);
}

}  // namespace hc
