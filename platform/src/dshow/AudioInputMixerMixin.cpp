// Audio input mixer settings.
#include "platform/dshow/AudioInputMixerMixin.h"

#include "Inject.h"

namespace platform::dshow {

HRESULT AudioInputMixerMixin::PutValue(double* field, double value, double minimum, double maximum) {
    if (value < minimum || value > maximum) return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(m_lock);
    *field = value;
    return S_OK;
}

HRESULT AudioInputMixerMixin::GetValue(const double& field, double* value) const {
    if (!value) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *value = field;
    return S_OK;
}

HRESULT AudioInputMixerMixin::PutFlag(BOOL* field, BOOL value) {
    std::lock_guard<std::mutex> lock(m_lock);
    *field = value ? TRUE : FALSE;
    return S_OK;
}

HRESULT AudioInputMixerMixin::GetFlag(const BOOL& field, BOOL* value) const {
    if (!value) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *value = field;
    return S_OK;
}

STDMETHODIMP AudioInputMixerMixin::put_Enable(BOOL fEnable) {
    HRESULT hr;
    if (Injected("IAMAudioInputMixer::put_Enable", E_FAIL, &hr)) return hr;
    return PutFlag(&m_enable, fEnable);
}
STDMETHODIMP AudioInputMixerMixin::get_Enable(BOOL* pfEnable) { return GetFlag(m_enable, pfEnable); }
STDMETHODIMP AudioInputMixerMixin::put_Mono(BOOL fMono) { return PutFlag(&m_mono, fMono); }
STDMETHODIMP AudioInputMixerMixin::get_Mono(BOOL* pfMono) { return GetFlag(m_mono, pfMono); }
STDMETHODIMP AudioInputMixerMixin::put_MixLevel(double Level) {
    HRESULT hr;
    if (Injected("IAMAudioInputMixer::put_MixLevel", E_FAIL, &hr)) return hr;
    return PutValue(&m_level, Level, 0.0, 1.0);
}
STDMETHODIMP AudioInputMixerMixin::get_MixLevel(double* pLevel) { return GetValue(m_level, pLevel); }
STDMETHODIMP AudioInputMixerMixin::put_Pan(double Pan) { return PutValue(&m_pan, Pan, -1.0, 1.0); }
STDMETHODIMP AudioInputMixerMixin::get_Pan(double* pPan) { return GetValue(m_pan, pPan); }
STDMETHODIMP AudioInputMixerMixin::put_Loudness(BOOL fLoudness) { return PutFlag(&m_loudness, fLoudness); }
STDMETHODIMP AudioInputMixerMixin::get_Loudness(BOOL* pfLoudness) { return GetFlag(m_loudness, pfLoudness); }
STDMETHODIMP AudioInputMixerMixin::put_Treble(double Treble) {
    return PutValue(&m_treble, Treble, -kToneRange, kToneRange);
}
STDMETHODIMP AudioInputMixerMixin::get_Treble(double* pTreble) { return GetValue(m_treble, pTreble); }
STDMETHODIMP AudioInputMixerMixin::get_TrebleRange(double* pRange) {
    if (!pRange) return E_POINTER;
    *pRange = kToneRange;
    return S_OK;
}
STDMETHODIMP AudioInputMixerMixin::put_Bass(double Bass) { return PutValue(&m_bass, Bass, -kToneRange, kToneRange); }
STDMETHODIMP AudioInputMixerMixin::get_Bass(double* pBass) { return GetValue(m_bass, pBass); }
STDMETHODIMP AudioInputMixerMixin::get_BassRange(double* pRange) {
    if (!pRange) return E_POINTER;
    *pRange = kToneRange;
    return S_OK;
}

}  // namespace platform::dshow
