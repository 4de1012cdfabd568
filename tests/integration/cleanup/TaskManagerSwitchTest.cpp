#include <gtest/gtest.h>

#include "CleanupSupport.h"
#include "Doubles.h"
#include "TestSupport.h"
#include "cleanup/TaskManagerSwitch.h"
#include "engine/Dispatcher.h"
#include "engine/WindowEngine.h"

namespace hc {
namespace {

using hctest::CallLog;
using hctest::ProbeValueExists;
using hctest::TaskManagerPolicy;
using hctest::TaskManagerPolicyRecord;

constexpr UINT kHide = 0xC001;
constexpr UINT kUnhide = 0xC002;

class NoRights final : public AdministratorProbe {
public:
    bool HasAdministratorRights() override { return false; }
};

// The real engine and dispatcher over fake windows, with the real switch in the real registry.
struct SwitchRig {
    explicit SwitchRig(AdministratorProbe& probe) : switches(probe) {
        dispatcher.SetAtoms(kHide, kUnhide);
        settings.cbMuteAudio = false;
        windows.Add(L"Mail");
    }
    void Panic() { dispatcher.GetHotKeys(Sender::None, kHide); }
    void Restore() { dispatcher.GetHotKeys(Sender::None, kUnhide); }

    CallLog log;
    hctest::FakeWindowSystem windows{log};
    hctest::RecordingShell shell{log};
    hctest::RecordingCleanup cleanup{log};
    hctest::ScriptedPrompt prompt{log};
    hctest::RecordingLauncher launcher{log};
    Settings settings;
    hctest::FakeProcessSystem processes;
    hctest::RecordingJournal journal;
    VisibleWindowList visible{windows, processes};
    TaskManagerSwitch switches;
    WindowEngine engine{EngineParts{windows, processes, visible, settings, shell, switches, cleanup, prompt, journal}};
    PrivacyDispatcher dispatcher{engine, settings, shell, cleanup, prompt, launcher};
};

class TaskManagerSwitchTest : public ::testing::Test {
protected:
    hctest::ScopedCleanKey store_;
    hctest::ScopedTaskManagerPolicy policy_;
    TokenAdministratorProbe probe_;
};

// Signalled by the registry when anything under the key changes.
class KeyWatch {
public:
    KeyWatch(HKEY root, const wchar_t* path) : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_NOTIFY, nullptr, &key_, nullptr);
        watching_ = key_ && event_ &&
                    RegNotifyChangeKeyValue(key_, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, event_,
                                            TRUE) == ERROR_SUCCESS;
    }
    ~KeyWatch() {
        if (key_) RegCloseKey(key_);
        if (event_) CloseHandle(event_);
    }
    bool IsWatching() const { return watching_; }
    bool Changed() const { return WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }

private:
    HKEY key_ = nullptr;
    HANDLE event_;
    bool watching_ = false;
};

TEST_F(TaskManagerSwitchTest, TheRightsComeFromTheTokenAndNoProbeTouchesTheMachineRunKey) {
    const KeyWatch run(HKEY_LOCAL_MACHINE, hctest::kMachineRunKey);
    ASSERT_TRUE(run.IsWatching());
    EXPECT_TRUE(probe_.HasAdministratorRights());  // Wine runs every process elevated
    EXPECT_FALSE(run.Changed());
    EXPECT_FALSE(ProbeValueExists());
    // The watch itself sees a write there.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, hctest::kMachineRunKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegSetValueExW(key, L"HcWatchCheck", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1"), 2 * sizeof(wchar_t));
    RegDeleteValueW(key, L"HcWatchCheck");
    RegCloseKey(key);
    EXPECT_TRUE(hctest::WaitUntil([&] { return run.Changed(); }));
}

TEST_F(TaskManagerSwitchTest, ATickedPanicDisablesTaskManagerUntilAPanicWithTheBoxUnticked) {
    SwitchRig rig(probe_);
    rig.settings.cbTaskManager = true;
    rig.Panic();
    EXPECT_EQ(TaskManagerPolicy(), L"1");
    EXPECT_EQ(TaskManagerPolicyRecord(), 1u);
    rig.Restore();
    EXPECT_EQ(TaskManagerPolicy(), L"1");
    rig.settings.cbTaskManager = false;
    rig.Panic();
    EXPECT_EQ(TaskManagerPolicy(), std::nullopt);
    EXPECT_EQ(TaskManagerPolicyRecord(), std::nullopt);
    EXPECT_FALSE(ProbeValueExists());
    // Somebody else's value is theirs to remove: neither an unticked panic nor the exit touches it.
    policy_.SetByOthers();
    rig.Panic();
    rig.switches.SetTaskManagerDisabled(false);
    EXPECT_EQ(TaskManagerPolicy(), L"1");
}

TEST_F(TaskManagerSwitchTest, WithoutRightsAPanicWritesNothing) {
    NoRights noRights;
    SwitchRig rig(noRights);
    rig.settings.cbTaskManager = true;
    rig.Panic();
    EXPECT_EQ(TaskManagerPolicy(), std::nullopt);
    EXPECT_EQ(TaskManagerPolicyRecord(), std::nullopt);
    policy_.SetByOthers();
    rig.settings.cbTaskManager = false;
    rig.Panic();
    EXPECT_EQ(TaskManagerPolicy(), L"1");
}

TEST_F(TaskManagerSwitchTest, StartUpRemovesOnlyAPolicyThisProgramWroteAndLeftAsItWroteIt) {
    TaskManagerSwitch switches(probe_);
    switches.SetTaskManagerDisabled(true);  // and then the run is killed
    EXPECT_TRUE(RemoveLeftoverTaskManagerPolicy());
    EXPECT_EQ(TaskManagerPolicy(), std::nullopt);
    EXPECT_EQ(TaskManagerPolicyRecord(), std::nullopt);

    policy_.SetByOthers();
    EXPECT_FALSE(RemoveLeftoverTaskManagerPolicy());
    EXPECT_EQ(TaskManagerPolicy(), L"1");
    // Somebody else's value, ticked over by a panic of this program that is then killed: still theirs.
    switches.SetTaskManagerDisabled(true);
    EXPECT_FALSE(RemoveLeftoverTaskManagerPolicy());
    EXPECT_EQ(TaskManagerPolicy(), L"1");
    switches.SetTaskManagerDisabled(false);

    // Written by this program, then changed by somebody else: theirs now.
    switches.SetTaskManagerDisabled(true);
    policy_.SetByOthers(L"2");
    EXPECT_FALSE(RemoveLeftoverTaskManagerPolicy());
    EXPECT_EQ(TaskManagerPolicy(), L"2");
    EXPECT_EQ(TaskManagerPolicyRecord(), std::nullopt);
}

}  // namespace
}  // namespace hc
