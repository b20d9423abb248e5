// A sound card's recording device as its driver's filter.
#include "hwsim/boards/SoundCaptureFilter.h"

#include "platform/dshow/AudioInputMixerMixin.h"
#include "platform/dshow/StreamConfigMixin.h"

namespace hwsim {

namespace {

using platform::dshow::MediaType;
using platform::dshow::PinDescription;

class MixerInputPin : public platform::dshow::With<platform::dshow::PinBase, platform::dshow::AudioInputMixerMixin> {
public:
    using With::With;
};

std::vector<platform::dshow::StreamCapability> PcmCapabilities() {
    AUDIO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = MEDIATYPE_Audio;
    caps.MinimumChannels = 1;
    caps.MaximumChannels = 2;
    caps.ChannelsGranularity = 1;
    caps.MinimumBitsPerSample = 8;
    caps.MaximumBitsPerSample = 16;
    caps.BitsPerSampleGranularity = 8;
    caps.MinimumSampleFrequency = 11025;
    caps.MaximumSampleFrequency = 48000;
    caps.SampleFrequencyGranularity = 1;
    return {platform::dshow::StreamCapability::Audio(platform::dshow::PcmAudioType(2, 44100, 16), caps)};
}

}  // namespace

SoundCaptureFilter::SoundCaptureFilter(const std::vector<std::string>& lines) : FilterBase(kSoundCaptureFilterClsid) {
    CComPtr<platform::dshow::PinBase> capture;
    capture.Attach(new platform::dshow::StreamConfigPin(
        this, PinDescription{PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE, {}}, PcmCapabilities()));
    AddPin(capture);
    for (const std::string& line : lines) {
        CComPtr<platform::dshow::PinBase> input;
        input.Attach(new MixerInputPin(this, PinDescription{PINDIR_INPUT, std::wstring(line.begin(), line.end()), L"",
                                                            GUID_NULL, {MediaType(MEDIATYPE_AnalogAudio, GUID_NULL)}}));
        AddPin(input);
    }
}

}  // namespace hwsim
