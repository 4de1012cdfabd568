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

// True when the value is gone (or was never there).
bool DeletePolicy(HKEY policy) {
    return registry::DeleteValue(policy, kTaskManagerPolicyValue) || !PolicyExists(policy);
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
    // Without our record the value is somebody else's (an administrator's, say): it stays.
    if (!PolicyRecorded()) return;
    const UniqueHkey policy =
        registry::OpenKey(HKEY_CURRENT_USER, kTaskManagerPolicyKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    // Changed since we wrote it, it is theirs now. A record whose value could not be deleted stays, so the next
    // start tries again.
    const bool ours = policy && registry::ReadString(policy.get(), kTaskManagerPolicyValue) == L"1";
    if (!ours || DeletePolicy(policy.get())) ClearPolicyRecord();
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
