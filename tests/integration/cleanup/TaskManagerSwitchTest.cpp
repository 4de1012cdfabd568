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
    VisibleWindowList visible{windows, processes, L"HushCloak Privacy 6.1"};
    TaskManagerSwitch switches;
    WindowEngine engine{EngineParts{windows, processes, visible, settings, shell, switches, cleanup, prompt, journal}};
    PrivacyDispatcher dispatcher{engine, settings, shell, cleanup, prompt, launcher};
};

class TaskManagerSwitchTest : public ::testing::Test {
protected:
    hctest::ScopedCleanKey store_;
    hctest::ScopedTaskManagerPolicy policy_;
    RegistryAdministratorProbe probe_;
};

TEST_F(TaskManagerSwitchTest, TheProbeSeesRightsUnderWineAndLeavesNoAutostartEntry) {
    EXPECT_TRUE(probe_.HasAdministratorRights());
    EXPECT_FALSE(ProbeValueExists());
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
