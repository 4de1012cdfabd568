#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "password/SecretText.h"

namespace hc {

// The password store under HKEY_CURRENT_USER.
inline constexpr wchar_t kPasswordStoreKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\LogoAcc";
inline constexpr wchar_t kPasswordSection[] = L"HKAcc";
inline constexpr wchar_t kPasswordValue[] = L"Key";
inline constexpr wchar_t kHintSection[] = L"HKAccHelp";
inline constexpr wchar_t kHintValue[] = L"Hint";
inline constexpr wchar_t kUndefinedHint[] = L"Your password hint is not defined";

// What the store holds for the password: one, none (never set, or deleted), or one that cannot be read (a value
// of the wrong type, longer than a value may be, or a read the system refused). Unreadable is never "none".
enum class StoredPasswordState { Set, None, Unreadable };

struct StoredPassword {
    StoredPasswordState state = StoredPasswordState::None;
    SecretText key;  // "Key" as stored (a hash, or an old plain password) when Set; empty otherwise
};

// The stored unhide password and its hint. A key is opened for one read or write and closed again.
class PasswordStore {
public:
    StoredPassword LoadStoredPassword() const;
    // The hint, or the sentence for an undefined hint when the value is absent; nullopt when the store is missing.
    std::optional<std::wstring> ReadHint() const;
    // Writes both values, creating the store when it is missing. False when anything could not be written.
    bool Store(std::wstring_view key, std::wstring_view hint);
    // Writes "Key" alone.
    bool ReplaceKey(std::wstring_view key);
};

// The current unhide password (`ThePassWord`, in its stored form). Every check compares exactly, case and every
// character counting. Without a readable password nothing passes a check, an empty entry included: the
// password never fails open.
class UnhidePassword {
public:
    explicit UnhidePassword(PasswordStore& store) : store_(store) {}

    // At start-up. An old plain password is replaced by its hash now, in memory and in the store.
    void Load();
    StoredPasswordState State() const { return state_; }
    bool IsSet() const { return state_ == StoredPasswordState::Set; }
    // A hash made with an older count (or an old plain password) that passes is stored anew at today's count.
    bool Check(std::wstring_view typed);
    // Stores a new password and hint; false (and nothing changed here) when it could not be stored.
    bool Set(std::wstring_view password, std::wstring_view hint);

    std::wstring_view Stored() const { return ThePassWord.View(); }

private:
    PasswordStore& store_;
    StoredPasswordState state_ = StoredPasswordState::None;
    SecretText ThePassWord;  // a plain password only while no hash could be made of it
};

}  // namespace hc
