// The ACM Wrapper.
#include "AcmWrapper.h"

namespace platform::dshow {

namespace {

StreamCapability PcmCapability(WORD channels, DWORD rate, WORD bits) {
    AUDIO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = MEDIATYPE_Audio;
    caps.MinimumChannels = caps.MaximumChannels = channels;
    caps.ChannelsGranularity = 1;
    caps.MinimumBitsPerSample = caps.MaximumBitsPerSample = bits;
    caps.BitsPerSampleGranularity = 8;
    caps.MinimumSampleFrequency = caps.MaximumSampleFrequency = rate;
    caps.SampleFrequencyGranularity = 1;
    return StreamCapability::Audio(PcmAudioType(channels, rate, bits), caps);
}

// Unconnected: stereo at the usual rates, 16 bits first.
std::vector<StreamCapability> DefaultCapabilities() {
    std::vector<StreamCapability> capabilities;
    for (WORD bits : {16, 8})
        for (DWORD rate : {44100u, 48000u, 22050u, 11025u}) capabilities.push_back(PcmCapability(2, rate, bits));
    return capabilities;
}

}  // namespace

AcmWrapperFilter::AcmWrapperFilter() : FilterBase(CLSID_ACMWrapper) {
    AddPin(PinDescription{PINDIR_INPUT, L"Input", L"", GUID_NULL, {MediaType(MEDIATYPE_Audio, GUID_NULL)}});
    CComPtr<PinBase> output;
    output.Attach(m_output = new CapabilityPin(this, PinDescription{PINDIR_OUTPUT, L"Output"}, DefaultCapabilities()));
    AddPin(output);
}

void AcmWrapperFilter::OnPinConnected(PinBase* pin) {
    if (pin->Direction() != PINDIR_INPUT) return;
    const MediaType input = pin->ConnectionType();
    const WAVEFORMATEX* wave = input.FormatAs<WAVEFORMATEX>();
    if (!wave || !IsEqualGUID(input.FormatType(), FORMAT_WaveFormatEx) || m_output->IsConnected()) return;
    m_output->ChangeCapabilities({PcmCapability(wave->nChannels, wave->nSamplesPerSec, 16),
                                  PcmCapability(wave->nChannels, wave->nSamplesPerSec, 8)});
}

void AcmWrapperFilter::OnPinDisconnected(PinBase* pin) {
    if (pin->Direction() == PINDIR_INPUT && !m_output->IsConnected()) m_output->ChangeCapabilities(DefaultCapabilities());
}

}  // namespace platform::dshow
