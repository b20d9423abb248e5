// The audio renderers.
#include "AudioRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

bool IsPcm(const AM_MEDIA_TYPE& mt) {
    if (!IsEqualGUID(mt.formattype, FORMAT_WaveFormatEx) || mt.cbFormat < sizeof(WAVEFORMATEX) - sizeof(WORD) ||
        !mt.pbFormat)
        return false;
    WAVEFORMATEX wf{};
    std::memcpy(&wf, mt.pbFormat, std::min<size_t>(mt.cbFormat, sizeof(wf)));
    return wf.wFormatTag == WAVE_FORMAT_PCM && (wf.wBitsPerSample == 8 || wf.wBitsPerSample == 16) &&
           wf.nChannels >= 1 && wf.nSamplesPerSec >= 1 && wf.nBlockAlign == wf.nChannels * wf.wBitsPerSample / 8;
}

class AudioInputPin : public PinBase {
public:
    explicit AudioInputPin(FilterBase* filter)
        : PinBase(filter, PinDescription{PINDIR_INPUT, L"Audio Input pin (rendered)", L"", GUID_NULL,
                                         {MediaType(MEDIATYPE_Audio, GUID_NULL, FORMAT_WaveFormatEx)}}) {}

protected:
    HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) const override {
        return PinBase::CheckMediaType(mt) == S_OK && IsPcm(mt) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
};

}  // namespace

STDMETHODIMP AudioMeterMixin::GetFramesReceived(ULONGLONG* frames) {
    if (!frames) return E_POINTER;
    *frames = FramesReceived();
    return S_OK;
}

STDMETHODIMP AudioMeterMixin::GetLevel(double* peak, double* frequency) {
    if (!peak || !frequency) return E_POINTER;
    *peak = PeakLevel();
    *frequency = ToneFrequency();
    return S_OK;
}

AudioRendererFilter::AudioRendererFilter(REFCLSID clsid) : With(clsid) {
    CComPtr<PinBase> input;
    input.Attach(new AudioInputPin(this));
    AddPin(input);
}

HRESULT AudioRendererFilter::Render(PinBase* pin, IMediaSample* sample) {
    MediaType type = pin->ConnectionType();
    if (!IsPcm(type.Get())) return VFW_E_TYPE_NOT_ACCEPTED;
    WAVEFORMATEX wf{};
    std::memcpy(&wf, type.Format(), std::min<size_t>(type.FormatSize(), sizeof(wf)));
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    size_t frames = size_t(sample->GetActualDataLength()) / wf.nBlockAlign;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_rate != wf.nSamplesPerSec) m_lastSecond.clear();
    m_rate = wf.nSamplesPerSec;
    for (size_t i = 0; i < frames; ++i) {
        const BYTE* frame = data + i * wf.nBlockAlign;
        float value = wf.wBitsPerSample == 8 ? (frame[0] - 128) / 128.0f
                                             : int16_t(frame[0] | (frame[1] << 8)) / 32768.0f;
        m_lastSecond.push_back(value);
    }
    while (m_lastSecond.size() > m_rate) m_lastSecond.pop_front();
    m_frames += frames;
    return S_OK;
}

HRESULT AudioRendererFilter::OnStateChange(FILTER_STATE from, FILTER_STATE to) {
    if (from == State_Stopped) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_frames = 0;
        m_lastSecond.clear();
    }
    return RendererBase::OnStateChange(from, to);
}

ULONGLONG AudioRendererFilter::FramesReceived() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_frames;
}

double AudioRendererFilter::PeakLevel() const {
    std::lock_guard<std::mutex> lock(m_lock);
    float peak = 0;
    for (float v : m_lastSecond) peak = std::max(peak, std::fabs(v));
    return std::min(1.0, double(peak));
}

double AudioRendererFilter::ToneFrequency() const {
    std::lock_guard<std::mutex> lock(m_lock);
    double first = -1, last = -1;
    long crossings = 0;
    for (size_t i = 1; i < m_lastSecond.size(); ++i) {
        float a = m_lastSecond[i - 1], b = m_lastSecond[i];
        if (!(a < 0 && b >= 0)) continue;
        double at = double(i - 1) + double(-a) / double(b - a);  // where the line crosses zero
        if (first < 0) first = at;
        last = at;
        ++crossings;
    }
    if (crossings < 2 || last <= first) return 0;
    return double(crossings - 1) * m_rate / (last - first);
}

}  // namespace platform::dshow
