// IAMAudioInputMixer for the input pins (or the filter) of audio capture devices: enable,
// mono, mix level, pan, loudness, treble and bass, kept as set.
#pragma once

#include <mutex>

#include "strmif.h"

namespace platform::dshow {

class PLATFORM_API AudioInputMixerMixin : public IAMAudioInputMixer {
public:
    using Interface = IAMAudioInputMixer;

    STDMETHODIMP put_Enable(BOOL fEnable) override;
    STDMETHODIMP get_Enable(BOOL* pfEnable) override;
    STDMETHODIMP put_Mono(BOOL fMono) override;
    STDMETHODIMP get_Mono(BOOL* pfMono) override;
    // Levels run from 0 to 1, pan from -1 to 1; other values are refused (E_INVALIDARG).
    STDMETHODIMP put_MixLevel(double Level) override;
    STDMETHODIMP get_MixLevel(double* pLevel) override;
    STDMETHODIMP put_Pan(double Pan) override;
    STDMETHODIMP get_Pan(double* pPan) override;
    STDMETHODIMP put_Loudness(BOOL fLoudness) override;
    STDMETHODIMP get_Loudness(BOOL* pfLoudness) override;
    STDMETHODIMP put_Treble(double Treble) override;
    STDMETHODIMP get_Treble(double* pTreble) override;
    STDMETHODIMP get_TrebleRange(double* pRange) override;
    STDMETHODIMP put_Bass(double Bass) override;
    STDMETHODIMP get_Bass(double* pBass) override;
    STDMETHODIMP get_BassRange(double* pRange) override;

protected:
    virtual ~AudioInputMixerMixin() = default;

private:
    HRESULT PutValue(double* field, double value, double minimum, double maximum);
    HRESULT GetValue(const double& field, double* value) const;
    HRESULT PutFlag(BOOL* field, BOOL value);
    HRESULT GetFlag(const BOOL& field, BOOL* value) const;

    mutable std::mutex m_lock;
    BOOL m_enable = TRUE, m_mono = FALSE, m_loudness = FALSE;
    double m_level = 1.0, m_pan = 0.0, m_treble = 0.0, m_bass = 0.0;
    static constexpr double kToneRange = 12.0;  // dB either way
};

}  // namespace platform::dshow
