#include <gtest/gtest.h>

#include "CleanupSupport.h"
#include "Doubles.h"
#include "TestSupport.h"
#include "cleanup/CleanupOperations.h"
#include "platform/Audio.h"

namespace hc {
namespace {

constexpr wchar_t kChildMarker[] = L"HC_TEST_NO_SOUND_CHILD";

class NoServices final : public CleanupServices {
public:
    void EmptyRecycleBin() override {}
    void ClearInternetCache() override {}
    void ClearInternetHistory() override {}
    std::wstring RecentFolder() override { return L""; }
    void DeleteFolderContents(const std::wstring&) override {}
};

// Runs in a copy of this program whose Wine has no sound driver: the endpoint is missing, which once crashed.
void MuteWithoutADevice() {
    hctest::ComApartment com;
    audio::CoreAudio outcome = audio::CoreAudio::Opened;
    EXPECT_EQ(audio::OpenDefaultEndpoint(outcome), nullptr);
    EXPECT_EQ(outcome, audio::CoreAudio::NoDevice);
    Settings settings;
    settings.cbMuteAudio = true;
    SystemAudioOutputs audio;
    NoServices services;
    CleanupOperations cleanup(settings, audio, services);
    cleanup.DoOptions();
    cleanup.SetAudioMute(false);
}

TEST(NoSoundDevice, MuteAndRestoreAreAQuietNotMuted) {
    if (GetEnvironmentVariableW(kChildMarker, nullptr, 0) > 0) return MuteWithoutADevice();
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    // An empty driver list gives Wine's sound system no driver at all, for the processes started meanwhile.
    HKEY drivers = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Drivers", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &drivers, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(drivers, L"Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    SetEnvironmentVariableW(kChildMarker, L"1");
    HANDLE child = hctest::StartProcess(self, L"--gtest_filter=NoSoundDevice.*");
    SetEnvironmentVariableW(kChildMarker, nullptr);
    const bool ended = child && WaitForSingleObject(child, 30000) == WAIT_OBJECT_0;
    RegDeleteValueW(drivers, L"Audio");
    RegCloseKey(drivers);
    ASSERT_TRUE(ended);
    DWORD code = 1;
    GetExitCodeProcess(child, &code);
    CloseHandle(child);
    EXPECT_EQ(code, 0u) << "the run without a sound device failed or crashed";
}

}  // namespace
}  // namespace hc
