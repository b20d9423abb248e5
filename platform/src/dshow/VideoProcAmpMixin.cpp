// Picture controls.
#include "platform/dshow/VideoProcAmpMixin.h"

#include "Inject.h"
#include "ks.h"

namespace platform::dshow {

void VideoProcAmpMixin::SetProcAmpRange(long property, ProcAmpRange range) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_controls[property] = Control{range, range.defaultValue, VideoProcAmp_Flags_Manual};
}

STDMETHODIMP VideoProcAmpMixin::GetRange(long Property, long* pMin, long* pMax, long* pSteppingDelta,
                                         long* pDefault, long* pCapsFlags) {
    if (!pMin || !pMax || !pSteppingDelta || !pDefault || !pCapsFlags) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_controls.find(Property);
    if (it == m_controls.end()) return E_PROP_ID_UNSUPPORTED;
    const ProcAmpRange& r = it->second.range;
    *pMin = r.minimum;
    *pMax = r.maximum;
    *pSteppingDelta = r.step;
    *pDefault = r.defaultValue;
    *pCapsFlags = r.capsFlags;
    return S_OK;
}

STDMETHODIMP VideoProcAmpMixin::Set(long Property, long lValue, long Flags) {
    HRESULT hr;
    if (Injected("IAMVideoProcAmp::Set", E_FAIL, &hr)) return hr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        auto it = m_controls.find(Property);
        if (it == m_controls.end()) return E_PROP_ID_UNSUPPORTED;
        if (lValue < it->second.range.minimum || lValue > it->second.range.maximum) return E_INVALIDARG;
    }
    hr = OnProcAmp(Property, lValue, Flags);
    if (FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    m_controls[Property].value = lValue;
    m_controls[Property].flags = Flags;
    return S_OK;
}

STDMETHODIMP VideoProcAmpMixin::Get(long Property, long* lValue, long* Flags) {
    if (!lValue || !Flags) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_controls.find(Property);
    if (it == m_controls.end()) return E_PROP_ID_UNSUPPORTED;
    *lValue = it->second.value;
    *Flags = it->second.flags;
    return S_OK;
}

}  // namespace platform::dshow
