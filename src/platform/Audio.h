#pragma once
#include <memory>
#include <optional>

namespace hc {

// The mute switch of one sound output.
class MuteControl {
public:
    virtual ~MuteControl() = default;
    // nullopt when the state cannot be read.
    virtual std::optional<bool> IsMuted() = 0;
    virtual bool SetMuted(bool muted) = 0;
};

class AudioOutputs {
public:
    virtual ~AudioOutputs() = default;
    // The default output's mute; null when there is no output to mute.
    virtual std::unique_ptr<MuteControl> OpenDefaultOutput() = 0;
};

namespace audio {

enum class CoreAudio { Opened, NoDevice, Unavailable };

// The default render endpoint (console role) through Core Audio. COM must be initialised on this thread.
std::unique_ptr<MuteControl> OpenDefaultEndpoint(CoreAudio& outcome);
// The speakers line of mixer device 0 through winmm; null when it has no mute control.
std::unique_ptr<MuteControl> OpenMixerSpeakers();

}  // namespace audio

// Core Audio first; the mixer only where Core Audio does not exist, since on systems that have it the mixer
// reaches only this program's own audio session.
class SystemAudioOutputs final : public AudioOutputs {
public:
    std::unique_ptr<MuteControl> OpenDefaultOutput() override;
};

}  // namespace hc
