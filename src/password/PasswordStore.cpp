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

StoredPassword PasswordStore::LoadStoredPassword() const {
    StoredPassword loaded;
    switch (
        registry::ReadStringValue(HKEY_CURRENT_USER, Section(kPasswordSection), kPasswordValue, loaded.key.Buffer())) {
        case registry::ValueRead::Found:
            // An empty "Key" was never a password.
            loaded.state = loaded.key.empty() ? StoredPasswordState::None : StoredPasswordState::Set;
            break;
        case registry::ValueRead::Absent:
            loaded.state = StoredPasswordState::None;
            break;
        case registry::ValueRead::Unreadable:
            loaded.state = StoredPasswordState::Unreadable;
            break;
    }
    return loaded;
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

void UnhidePassword::Load() {
    StoredPassword loaded = store_.LoadStoredPassword();
    state_ = loaded.state;
    ThePassWord = std::move(loaded.key);
    if (!IsSet() || !IsPlainStoredPassword(ThePassWord.View())) return;
    // An old plain password: hashed now rather than at its first use, so the plain text lingers nowhere.
    const auto hashed = MakeStoredPassword(ThePassWord.View());
    if (!hashed) return;  // no hash can be made here: it still unlocks in its plain form
    // A store that cannot be written keeps the plain text until the next start tries again; nothing to tell.
    store_.ReplaceKey(*hashed);
    ThePassWord = SecretText(*hashed);
}

bool UnhidePassword::Check(std::wstring_view typed) {
    if (!IsSet() || !PasswordMatches(ThePassWord.View(), typed)) return false;
    if (NeedsNewHash(ThePassWord.View())) {
        // The check stands either way; if the new hash cannot be stored, the next success tries again.
        if (const auto hashed = MakeStoredPassword(typed); hashed && store_.ReplaceKey(*hashed))
            ThePassWord = SecretText(*hashed);
    }
    return true;
}

bool UnhidePassword::Set(std::wstring_view password, std::wstring_view hint) {
    const auto hashed = MakeStoredPassword(password);
    if (!hashed || !store_.Store(*hashed, hint)) return false;
    ThePassWord = SecretText(*hashed);
    state_ = StoredPasswordState::Set;
    return true;
}

}  // namespace hc
