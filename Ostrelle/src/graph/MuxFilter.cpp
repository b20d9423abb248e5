// CMuxFilter: the wrapper of the system AVI multiplexer, registered by its CLSID.
#include "graph/MuxFilter.h"

#include "graph/FilterWrapperClass.h"

CFilterClassRecord CMuxFilter::s_classRecord = Record(&CLSID_AviDest, nullptr, "Microsoft Mux Filter");

CMuxFilter::~CMuxFilter() = default;

BOOL CMuxFilter::Init() {
    m_bDyncPin = TRUE;
    if (!IsValid()) return FALSE;
    return ConfigureMux(0);
}

BOOL CMuxFilter::ConfigureMux(LONG masterStream) {
    if (m_pFilter == nullptr) return FALSE;
    CComPtr<IConfigAviMux> mux;
    if (m_pFilter->QueryInterface(IID_IConfigAviMux, reinterpret_cast<void**>(&mux)) != S_OK || mux == nullptr)
        return FALSE;
    const HRESULT indexSet = mux->SetOutputCompatibilityIndex(TRUE);
    mux->SetMasterStream(masterStream);
    if (indexSet != S_OK) return FALSE;
    CComPtr<IConfigInterleaving> interleaving;
    if (m_pFilter->QueryInterface(IID_IConfigInterleaving, reinterpret_cast<void**>(&interleaving)) != S_OK ||
        interleaving == nullptr)
        return FALSE;
    const REFERENCE_TIME interleave = 1000;
    const REFERENCE_TIME preroll = 750;
    interleaving->put_Interleaving(&interleave, &preroll);
    interleaving->put_Mode(INTERLEAVE_NONE);
    return TRUE;
}
