#include "cleanup/TaskManagerSwitch.h"

#include "platform/Registry.h"
#include "platform/Token.h"

namespace hc {

namespace {
bool WritePolicyRecord() {
    const UniqueHkey record = registry::CreateKey(HKEY_CURRENT_USER, kRecoveryKey);
    return record && registry::WriteDword(record.get(), kPolicyWrittenValue, 1);
}

void ClearPolicyRecord() {
    if (const UniqueHkey record = registry::OpenKey(HKEY_CURRENT_USER, kRecoveryKey, KEY_SET_VALUE))
        registry::DeleteValue(record.get(), kPolicyWrittenValue);
}

bool PolicyRecorded() {
    const UniqueHkey record = registry::OpenKey(HKEY_CURRENT_USER, kRecoveryKey, KEY_QUERY_VALUE);
    return record && registry::ReadDword(record.get(), kPolicyWrittenValue) == 1u;
}

bool PolicyExists(HKEY policy) {
    return registry::ReadString(policy, kTaskManagerPolicyValue) ||
           registry::ReadDword(policy, kTaskManagerPolicyValue);
}

}  // namespace

bool TokenAdministratorProbe::HasAdministratorRights() { return token::IsElevated(); }

void TaskManagerSwitch::SetTaskManagerDisabled(bool disabled) {
    if (disabled) {
        const UniqueHkey policy = registry::CreateKey(HKEY_CURRENT_USER, kTaskManagerPolicyKey);
        if (!policy) return;
        // A value that was there before, without our record, is somebody else's: a run that dies leaves it to them.
        const bool theirs = PolicyExists(policy.get()) && !PolicyRecorded();
        // The record comes first: a run that dies between the two writes then leaves nothing unaccounted for.
        if (!theirs && !WritePolicyRecord()) return;
        registry::WriteString(policy.get(), kTaskManagerPolicyValue, L"1");
        return;
    }
    // Only what this program wrote goes, as at start-up: somebody else's value (an administrator's, say) stays.
    RemoveLeftoverTaskManagerPolicy();
}

bool RemoveLeftoverTaskManagerPolicy() {
    if (!PolicyRecorded()) return false;
    bool removed = false;
    if (const UniqueHkey policy =
            registry::OpenKey(HKEY_CURRENT_USER, kTaskManagerPolicyKey, KEY_QUERY_VALUE | KEY_SET_VALUE)) {
        // Only the value as this program writes it: one that was changed since belongs to whoever changed it.
        if (registry::ReadString(policy.get(), kTaskManagerPolicyValue) == L"1") {
            removed = registry::DeleteValue(policy.get(), kTaskManagerPolicyValue);
            if (!removed) return false;  // the record stays for the next start
        }
    }
    ClearPolicyRecord();
    return removed;
}

}  // namespace hc
