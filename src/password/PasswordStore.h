#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace hc {

// The password store under HKEY_CURRENT_USER.
inline constexpr wchar_t kPasswordStoreKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\LogoAcc";
inline constexpr wchar_t kPasswordSection[] = L"HKAcc";
inline constexpr wchar_t kPasswordValue[] = L"Key";
inline constexpr wchar_t kHintSection[] = L"HKAccHelp";
inline constexpr wchar_t kHintValue[] = L"Hint";
inline constexpr wchar_t kUndefinedHint[] = L"Your password hint is not defined";

// The stored unhide password and its hint. A key is opened for one read or write and closed again.
class PasswordStore {
public:
    // "Key" as stored (a hash, or an old plain password); empty when absent or the store is missing.
    std::wstring LoadStoredPassword() const;
    // The hint, or the sentence for an undefined hint when the value is absent; nullopt when the store is missing.
    std::optional<std::wstring> ReadHint() const;
    // Writes both values, creating the store when it is missing. False when anything could not be written.
    bool Store(std::wstring_view key, std::wstring_view hint);
    // Writes "Key" alone.
    bool ReplaceKey(std::wstring_view key);
};

// The current unhide password (`ThePassWord`, in its stored form). Every check compares exactly, case and every
// character counting; an old plain password that passes a check is replaced by its hash.
class UnhidePassword {
public:
    explicit UnhidePassword(PasswordStore& store) : store_(store) {}

    // At start-up: a missing or unreadable store means no password.
    void Load() { ThePassWord = store_.LoadStoredPassword(); }
    bool IsSet() const { return !ThePassWord.empty(); }
    bool Check(std::wstring_view typed);
    // Stores a new password and hint; false (and nothing changed here) when it could not be stored.
    bool Set(std::wstring_view password, std::wstring_view hint);

    const std::wstring& Stored() const { return ThePassWord; }

private:
    PasswordStore& store_;
    std::wstring ThePassWord;
};

}  // namespace hc
