#include "graph/AVSwitchFilter.h"

#include "graph/FilterWrapperClass.h"

FILTER_WRAPPER_REGISTRATION(CAVSwitchFilter, &CLSID_VorlaneAVSwitch, nullptr, "Vorlane AV Switch")

FILTER_WRAPPER_CONSTRUCTORS(CAVSwitchFilter)

FILTER_WRAPPER_INTERFACE(CAVSwitchFilter, IID_IAVSwitch, m_pSwitch, ExactlyOk)

BOOL CAVSwitchFilter::SetSwitch(BOOL on) {
    if (m_pSwitch == nullptr) return FALSE;
    return m_pSwitch->put_Switch(on ? VARIANT_TRUE : VARIANT_FALSE) == S_OK ? TRUE : FALSE;
}

BOOL CAVSwitchFilter::GetSwitch(BOOL* pOn) {
    if (m_pSwitch == nullptr || pOn == nullptr) return FALSE;
    VARIANT_BOOL value = VARIANT_TRUE;
    const HRESULT hr = m_pSwitch->get_Switch(&value);
    *pOn = value != 0 ? TRUE : FALSE;
    return hr == S_OK ? TRUE : FALSE;
}
