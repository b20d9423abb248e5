// A sound card of the bench: its recording device (SoundCaptureFilter) in the audio input
// device category under the card's name, and its mixer in the PC's mixer table. The mixer's
// product name is the name cut to 31 characters, as MIXERCAPS holds it; its destination (the
// recording destination) and every source line have a mute and a volume control.
#pragma once

#include <string>
#include <vector>

#include "hwsim/bench/BenchSpec.h"
#include "platform/devicetree.h"
#include "platform/mixertable.h"

namespace hwsim {

class SoundCard {
public:
    // Plugs the card; with `servesWaveOut` its mixer also serves wave-out device 0.
    SoundCard(const SoundCardSpec& desc, bool servesWaveOut);
    ~SoundCard();
    SoundCard(const SoundCard&) = delete;
    SoundCard& operator=(const SoundCard&) = delete;

    const std::string& Name() const { return m_name; }
    platform::DeviceId Device() const { return m_device; }
    platform::MixerId Mixer() const { return m_mixer; }

    // The mixer of a card named `name` with `lines`: tests enter more mixers with it.
    static platform::MixerSpec MixerFor(const std::string& name, const std::vector<std::string>& lines);

private:
    std::string m_name;
    platform::DeviceId m_device = 0;
    platform::MixerId m_mixer = 0;
};

}  // namespace hwsim
