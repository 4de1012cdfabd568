#pragma once
#include <memory>
#include <string>

#include "engine/Collaborators.h"
#include "platform/Audio.h"
#include "settings/Settings.h"

namespace hc {

// The system side of the clean-up steps after the mute.
class CleanupServices {
public:
    virtual ~CleanupServices() = default;
    virtual void EmptyRecycleBin() = 0;
    virtual void ClearInternetCache() = 0;
    virtual void ClearInternetHistory() = 0;
    virtual std::wstring RecentFolder() = 0;  // empty when it cannot be determined
    virtual void DeleteFolderContents(const std::wstring& folder) = 0;
};

class SystemCleanupServices final : public CleanupServices {
public:
    void EmptyRecycleBin() override;
    void ClearInternetCache() override;
    void ClearInternetHistory() override;
    std::wstring RecentFolder() override;
    void DeleteFolderContents(const std::wstring& folder) override;
};

// The clean-up after a privacy action: the ticked steps of the settings, read when they run.
class CleanupOperations final : public CleanupSteps {
public:
    CleanupOperations(const Settings& settings, AudioOutputs& audio, CleanupServices& services)
        : settings_(settings), audio_(audio), services_(services) {}

    // Mutes, or takes back the mute this object made; a mute the user had set is left as it is.
    void SetAudioMute(bool muted) override;
    // Mute, Recycle Bin, Internet cache, Internet history, recent documents: the Recycle Bin is emptied
    // before the recent documents go into it, so they stay there to be restored.
    void DoOptions() override;

private:
    const Settings& settings_;
    AudioOutputs& audio_;
    CleanupServices& services_;
    // The output a panic muted, held so that the restore unmutes that one and nothing else.
    std::unique_ptr<MuteControl> mutedByUs_;
};

}  // namespace hc
