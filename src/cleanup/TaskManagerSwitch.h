#pragma once
#include "settings/Configuration.h"
#include <windows.h>

#include "engine/Collaborators.h"

namespace hc {

inline constexpr wchar_t kTaskManagerPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr wchar_t kTaskManagerPolicyValue[] = L"DisableTaskMgr";
inline constexpr wchar_t kPolicyWrittenValue[] = L"TaskManagerPolicyWritten";

class AdministratorProbe {
public:
    virtual ~AdministratorProbe() = default;
    virtual bool HasAdministratorRights() = 0;
};

// Reads the elevation of the process token. It writes nothing: a probe value under the machine's Run key, as
// earlier versions wrote on every panic, stayed behind as an autostart entry when the program was killed mid-way.
class TokenAdministratorProbe final : public AdministratorProbe {
public:
    bool HasAdministratorRights() override;
};

// The per-user Task Manager policy, with a record (HKEY_CURRENT_USER\HushCloak\Recovery) of the fact that
// this program wrote it, so that a run that ends without clearing it does not leave Task Manager off for good.
class TaskManagerSwitch final : public SystemSwitches {
public:
    explicit TaskManagerSwitch(AdministratorProbe& probe) : probe_(probe) {}
    bool HasAdministratorRights() override { return probe_.HasAdministratorRights(); }
    void SetTaskManagerDisabled(bool disabled) override;

private:
    AdministratorProbe& probe_;
};

// For start-up, where no other instance runs: removes the policy value an earlier run wrote and could not
// remove (it was killed or crashed). A value this program did not write, or one changed since, stays.
// True when a value was removed.
bool RemoveLeftoverTaskManagerPolicy();

}  // namespace hc
