#include "cleanup/CleanupOperations.h"

#include "cleanup/FolderContents.h"
#include "platform/Files.h"
#include "platform/InternetCache.h"
#include "platform/RecycleBin.h"
#include "platform/UrlHistory.h"

namespace hc {

namespace {
// The steps say nothing to the user by design: a message after a panic would draw the eye to the screen.
// So their results end here, and a step that fails only leaves its own trace.
template <class Step>
void RunStep(bool ticked, Step step) noexcept {
    if (!ticked) return;
    try {
        step();
    } catch (...) {
        // Silent on purpose (see above); the next step still runs and the hidden windows stay hidden.
    }
}
}  // namespace

void SystemCleanupServices::EmptyRecycleBin() { recyclebin::EmptyAll(); }
void SystemCleanupServices::ClearInternetCache() { internetcache::ClearAll(); }
// Under Wine the store answers E_NOTIMPL; that, too, is only this step's failure.
void SystemCleanupServices::ClearInternetHistory() { urlhistory::ClearAll(); }
std::wstring SystemCleanupServices::RecentFolder() { return files::RecentDocumentsFolder(); }
void SystemCleanupServices::DeleteFolderContents(const std::wstring& folder) { hc::DeleteFolderContents(folder); }

void CleanupOperations::SetAudioMute(bool muted) {
    try {
        if (!muted) {
            if (mutedByUs_) mutedByUs_->SetMuted(false);
            mutedByUs_.reset();
            return;
        }
        std::unique_ptr<MuteControl> output = audio_.OpenDefaultOutput();
        if (!output) return;  // no sound device: nothing to mute
        if (output->IsMuted() == true) return;
        if (output->SetMuted(true)) mutedByUs_ = std::move(output);
    } catch (...) {
        // Mute failures stay silent like the other steps; the sound simply stays as it was.
    }
}

void CleanupOperations::DoOptions() {
    RunStep(settings_.cbMuteAudio, [&] { SetAudioMute(true); });
    RunStep(settings_.cbRecycle, [&] { services_.EmptyRecycleBin(); });
    RunStep(settings_.cbClearTemp, [&] { services_.ClearInternetCache(); });
    RunStep(settings_.cbHistory, [&] { services_.ClearInternetHistory(); });
    RunStep(settings_.cbRecent, [&] { services_.DeleteFolderContents(services_.RecentFolder()); });
}

}  // namespace hc
