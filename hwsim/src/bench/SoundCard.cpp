// A sound card of the bench.
#include "hwsim/bench/SoundCard.h"

#include "hwsim/boards/SoundCaptureFilter.h"
#include "uuids.h"

namespace hwsim {

namespace {

struct LineKind {
    const char* name;
    DWORD componentType;
};

const LineKind kLineKinds[] = {
    {"Microphone", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
    {"CD Audio", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC},
};

platform::MixerLineSpec Line(const std::string& name, DWORD componentType) {
    return platform::MixerLineSpec{name,
                                   componentType,
                                   {{MIXERCONTROL_CONTROLTYPE_MUTE, name + " Mute", 0, 0, 1},
                                    {MIXERCONTROL_CONTROLTYPE_VOLUME, name + " Volume", 0x8000, 0, 0xFFFF}}};
}

}  // namespace

platform::MixerSpec SoundCard::MixerFor(const std::string& name, const std::vector<std::string>& lines) {
    platform::MixerSpec mixer;
    mixer.productName = name.substr(0, MAXPNAMELEN - 1);
    mixer.destination = Line("Recording Control", MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    for (const std::string& line : lines) {
        DWORD type = MIXERLINE_COMPONENTTYPE_SRC_LINE;
        for (const LineKind& kind : kLineKinds) {
            if (line == kind.name) type = kind.componentType;
        }
        mixer.sources.push_back(Line(line, type));
    }
    return mixer;
}

SoundCard::SoundCard(const SoundCardSpec& desc, bool servesWaveOut) : m_name(desc.name) {
    const std::vector<std::string> lines = desc.lines;
    platform::DeviceEntry entry;
    entry.category = CLSID_AudioInputDeviceCategory;
    entry.friendlyName = std::wstring(desc.name.begin(), desc.name.end());
    entry.factory = [lines](REFIID riid, void** ppv) -> HRESULT {
        return platform::CreateComObject<SoundCaptureFilter>(riid, ppv, lines);
    };
    entry.clsid = kSoundCaptureFilterClsid;
    m_device = platform::AddDevice(std::move(entry));
    m_mixer = platform::AddMixer(MixerFor(desc.name, desc.lines));
    if (servesWaveOut) platform::SetWaveOutMixer(m_mixer);
}

SoundCard::~SoundCard() {
    platform::RemoveMixer(m_mixer);
    platform::RemoveDevice(m_device);
}

}  // namespace hwsim
