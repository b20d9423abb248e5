// CAVSwitchFilter: the wrapper of the maker's audio/video switch.
#include "graph/AVSwitchFilter.h"

#include "graph/FilterWrapperClass.h"

CFilterClassRecord CAVSwitchFilter::s_classRecord = Record(&CLSID_VorlaneAVSwitch, nullptr, "Vorlane AV Switch");

BOOL CAVSwitchFilter::SetSwitch(BOOL on) {
    if (m_pInterface == nullptr) return FALSE;
    return m_pInterface->put_Switch(on ? VARIANT_TRUE : VARIANT_FALSE) == S_OK ? TRUE : FALSE;
}

BOOL CAVSwitchFilter::GetSwitch(BOOL* pOn) {
    if (m_pInterface == nullptr || pOn == nullptr) return FALSE;
    VARIANT_BOOL value = VARIANT_TRUE;
    const HRESULT hr = m_pInterface->get_Switch(&value);
    *pOn = value != 0 ? TRUE : FALSE;
    return hr == S_OK ? TRUE : FALSE;
}
