// CMpegEncoderFilter: the wrapper of a card's hardware MPEG encoder device.
#include "graph/MpegEncoderFilter.h"

CFilterClassRecord CMpegEncoderFilter::s_classRecord = Record(nullptr, &KSCATEGORY_ENCODER, "Rivesk MPEG Encoder");
CMpegEncoderFilter::CMpegEncoderFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag,
                                       REFGUID propertySet)
    : CFilterWrapper(owner, category, friendlyName, flag), m_propertySet(propertySet) {}

CMpegEncoderFilter::CMpegEncoderFilter(CRootGraph* owner, REFCLSID clsid, REFGUID propertySet)
    : CFilterWrapper(owner, clsid), m_propertySet(propertySet) {}

CMpegEncoderFilter::CMpegEncoderFilter(CRootGraph* owner, IBaseFilter* filter, REFGUID propertySet)
    : CFilterWrapper(owner, filter), m_propertySet(propertySet) {}

CMpegEncoderFilter::~CMpegEncoderFilter() {
    m_pPropertySet.Release();
}

BOOL CMpegEncoderFilter::Init() {
    m_pPropertySet.Release();
    if (m_pFilter == nullptr) return FALSE;
    m_pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pPropertySet));
    return m_pPropertySet != nullptr ? TRUE : FALSE;
}

BOOL CMpegEncoderFilter::SetProperty(DWORD id, const void* data, DWORD size) {
    if (m_pPropertySet == nullptr) return FALSE;
    void* buffer = const_cast<void*>(data);
    return SUCCEEDED(m_pPropertySet->Set(m_propertySet, id, buffer, size, buffer, size)) ? TRUE : FALSE;
}

BOOL CMpegEncoderFilter::GetProperty(DWORD id, void* data, DWORD size) {
    if (m_pPropertySet == nullptr) return FALSE;
    DWORD returned = 0;
    return SUCCEEDED(m_pPropertySet->Get(m_propertySet, id, data, size, data, size, &returned)) ? TRUE : FALSE;
}
