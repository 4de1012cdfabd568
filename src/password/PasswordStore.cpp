#include "password/PasswordStore.h"

#include "password/PasswordHash.h"
#include "platform/Registry.h"

namespace hc {

namespace {
std::wstring Section(const wchar_t* name) { return std::wstring(kPasswordStoreKey) + L"\\" + name; }

std::optional<std::wstring> ReadValue(const wchar_t* section, const wchar_t* name) {
    const auto key = registry::OpenKey(HKEY_CURRENT_USER, Section(section), KEY_READ);
    if (!key) return std::nullopt;
    return registry::ReadString(key.get(), name);
}

bool WriteValue(const wchar_t* section, const wchar_t* name, std::wstring_view value) {
    const auto key = registry::CreateKey(HKEY_CURRENT_USER, Section(section));
    return key && registry::WriteString(key.get(), name, std::wstring(value));
}
}  // namespace

std::wstring PasswordStore::LoadStoredPassword() const {
    return ReadValue(kPasswordSection, kPasswordValue).value_or(L"");
}

std::optional<std::wstring> PasswordStore::ReadHint() const {
    if (!registry::OpenKey(HKEY_CURRENT_USER, kPasswordStoreKey, KEY_READ)) return std::nullopt;
    return ReadValue(kHintSection, kHintValue).value_or(kUndefinedHint);
}

bool PasswordStore::Store(std::wstring_view key, std::wstring_view hint) {
    // The hint first: if the password cannot be written after it, the old password still holds.
    return WriteValue(kHintSection, kHintValue, hint) && ReplaceKey(key);
}

bool PasswordStore::ReplaceKey(std::wstring_view key) { return WriteValue(kPasswordSection, kPasswordValue, key); }

bool UnhidePassword::Check(std::wstring_view typed) {
    if (!PasswordMatches(ThePassWord, typed)) return false;
    if (IsSet() && IsPlainStoredPassword(ThePassWord)) {
        // The old plain form still unlocks; replace it now. If that fails the check still stands, and the next
        // check tries again, so nothing is reported.
        if (const auto hashed = MakeStoredPassword(typed); hashed && store_.ReplaceKey(*hashed)) ThePassWord = *hashed;
    }
    return true;
}

bool UnhidePassword::Set(std::wstring_view password, std::wstring_view hint) {
    const auto hashed = MakeStoredPassword(password);
    if (!hashed || !store_.Store(*hashed, hint)) return false;
    ThePassWord = *hashed;
    return true;
}

}  // namespace hc
