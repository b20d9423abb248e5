// The audio renderers (the DirectSound renderer and the waveOut "Audio Renderer"): one input
// taking PCM audio (8 or 16 bits) in a WAVEFORMATEX, consumed on arrival. No sound is played;
// for tests they measure what arrives: the sample frames received, and over the last second of
// the first channel the peak level and the dominant tone's frequency.
#pragma once

#include <deque>
#include <mutex>

#include "platform/dshow/AudioMeter.h"
#include "platform/dshow/RendererBase.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

class AudioMeterMixin : public IAudioMeter {
public:
    using Interface = IAudioMeter;
    STDMETHODIMP GetFramesReceived(ULONGLONG* frames) override;
    STDMETHODIMP GetLevel(double* peak, double* frequency) override;

protected:
    virtual ~AudioMeterMixin() = default;
    virtual ULONGLONG FramesReceived() const = 0;
    virtual double PeakLevel() const = 0;
    virtual double ToneFrequency() const = 0;
};

class AudioRendererFilter : public With<RendererBase, AudioMeterMixin> {
public:
    explicit AudioRendererFilter(REFCLSID clsid);

    ULONGLONG FramesReceived() const override;
    // The largest magnitude of the last second, as a fraction of full scale (0 to 1).
    double PeakLevel() const override;
    // The frequency in Hz of the last second's tone, from its rising zero crossings; 0 when
    // there are fewer than two.
    double ToneFrequency() const override;

protected:
    HRESULT Render(PinBase* pin, IMediaSample* sample) override;
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;

private:
    mutable std::mutex m_lock;
    ULONGLONG m_frames = 0;
    DWORD m_rate = 0;
    std::deque<float> m_lastSecond;  // the first channel, -1 to 1
};

}  // namespace platform::dshow
