#include "platform/Audio.h"

#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <mmsystem.h>

#include <utility>

#include "platform/Com.h"

namespace hc {

namespace {
constexpr CLSID kMMDeviceEnumerator = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
constexpr IID kIMMDeviceEnumerator = {0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
constexpr IID kIAudioEndpointVolume = {0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};

class EndpointMute final : public MuteControl {
public:
    explicit EndpointMute(UniqueCom<IAudioEndpointVolume> volume) : volume_(std::move(volume)) {}

    std::optional<bool> IsMuted() override {
        BOOL muted = FALSE;
        if (FAILED(volume_.get()->GetMute(&muted))) return std::nullopt;
        return muted != FALSE;
    }
    bool SetMuted(bool muted) override { return SUCCEEDED(volume_.get()->SetMute(muted ? TRUE : FALSE, nullptr)); }

private:
    UniqueCom<IAudioEndpointVolume> volume_;
};

class MixerMute final : public MuteControl {
public:
    MixerMute(HMIXER mixer, DWORD controlId) : mixer_(mixer), controlId_(controlId) {}
    ~MixerMute() override { mixerClose(mixer_); }
    MixerMute(const MixerMute&) = delete;
    MixerMute& operator=(const MixerMute&) = delete;

    std::optional<bool> IsMuted() override {
        MIXERCONTROLDETAILS_BOOLEAN value{};
        MIXERCONTROLDETAILS details = Details(value);
        if (mixerGetControlDetailsW(reinterpret_cast<HMIXEROBJ>(mixer_), &details,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
            return std::nullopt;
        return value.fValue != 0;
    }
    bool SetMuted(bool muted) override {
        MIXERCONTROLDETAILS_BOOLEAN value{};
        value.fValue = muted ? -1 : 0;
        MIXERCONTROLDETAILS details = Details(value);
        return mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer_), &details,
                                      MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
    }

private:
    MIXERCONTROLDETAILS Details(MIXERCONTROLDETAILS_BOOLEAN& value) const {
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof(details);
        details.dwControlID = controlId_;
        details.cChannels = 1;
        details.cMultipleItems = 0;
        details.cbDetails = sizeof(value);
        details.paDetails = &value;
        return details;
    }

    HMIXER mixer_;
    DWORD controlId_;
};

bool CoreAudioIsMissing(HRESULT result) {
    return result == REGDB_E_CLASSNOTREG || result == CLASS_E_CLASSNOTAVAILABLE || result == E_NOINTERFACE;
}
}  // namespace

namespace audio {

std::unique_ptr<MuteControl> OpenDefaultEndpoint(CoreAudio& outcome) {
    JoinComApartment();
    UniqueCom<IMMDeviceEnumerator> enumerator;
    const HRESULT created = CoCreateInstance(kMMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER, kIMMDeviceEnumerator,
                                             reinterpret_cast<void**>(enumerator.put()));
    if (FAILED(created) || !enumerator) {
        outcome = CoreAudioIsMissing(created) ? CoreAudio::Unavailable : CoreAudio::NoDevice;
        return nullptr;
    }
    // Without an output device there is no endpoint: nothing to mute, and nothing to fail about.
    outcome = CoreAudio::NoDevice;
    UniqueCom<IMMDevice> device;
    if (FAILED(enumerator.get()->GetDefaultAudioEndpoint(eRender, eConsole, device.put())) || !device) return nullptr;
    UniqueCom<IAudioEndpointVolume> volume;
    if (FAILED(device.get()->Activate(kIAudioEndpointVolume, CLSCTX_INPROC_SERVER, nullptr,
                                      reinterpret_cast<void**>(volume.put()))) ||
        !volume)
        return nullptr;
    outcome = CoreAudio::Opened;
    return std::make_unique<EndpointMute>(std::move(volume));
}

std::unique_ptr<MuteControl> OpenMixerSpeakers() {
    HMIXER mixer = nullptr;
    if (mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR || !mixer) return nullptr;
    MIXERLINEW line{};
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    MIXERCONTROLW control{};
    MIXERLINECONTROLSW controls{};
    controls.cbStruct = sizeof(controls);
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(control);
    controls.pamxctrl = &control;
    const auto object = reinterpret_cast<HMIXEROBJ>(mixer);
    bool found =
        mixerGetLineInfoW(object, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) == MMSYSERR_NOERROR;
    if (found) {
        controls.dwLineID = line.dwLineID;
        found = mixerGetLineControlsW(object, &controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
                MMSYSERR_NOERROR;
    }
    if (!found) {
        mixerClose(mixer);
        return nullptr;
    }
    return std::make_unique<MixerMute>(mixer, control.dwControlID);
}

}  // namespace audio

std::unique_ptr<MuteControl> SystemAudioOutputs::OpenDefaultOutput() {
    audio::CoreAudio outcome = audio::CoreAudio::NoDevice;
    auto endpoint = audio::OpenDefaultEndpoint(outcome);
    if (outcome == audio::CoreAudio::Unavailable) return audio::OpenMixerSpeakers();
    return endpoint;
}

}  // namespace hc
