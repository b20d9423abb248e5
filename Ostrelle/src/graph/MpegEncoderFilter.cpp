#include "graph/MpegEncoderFilter.h"

CFilterClassRecord CMpegEncoderFilter::s_classRecord(nullptr, &KSCATEGORY_ENCODER, "Rivesk MPEG Encoder",
                                                     &CMpegEncoderFilter::CreateInstance,
                                                     &CMpegEncoderFilter::WrapInstance);

CRootFilter* CMpegEncoderFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CMpegEncoderFilter>(s_classRecord, graph, flag);
}

CRootFilter* CMpegEncoderFilter::WrapInstance(CRootGraph* graph, IBaseFilter* filter) {
    return WrapFilterOfClass<CMpegEncoderFilter>(graph, filter);
}

CMpegEncoderFilter::CMpegEncoderFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag,
                                       REFGUID propertySet)
    : CRootFilter(owner, category, friendlyName, flag), m_propertySet(propertySet) {}

CMpegEncoderFilter::CMpegEncoderFilter(CRootGraph* owner, REFCLSID clsid, REFGUID propertySet)
    : CRootFilter(owner, clsid), m_propertySet(propertySet) {}

CMpegEncoderFilter::CMpegEncoderFilter(CRootGraph* owner, IBaseFilter* filter, REFGUID propertySet)
    : CRootFilter(owner, filter), m_propertySet(propertySet) {}

CMpegEncoderFilter::~CMpegEncoderFilter() {
    m_pPropertySet.Release();
}

HRESULT CMpegEncoderFilter::OnHook1(LONG_PTR, LONG_PTR, LONG_PTR) {
    return S_OK;
}

HRESULT CMpegEncoderFilter::OnHook2(LONG_PTR, LONG_PTR, LONG_PTR) {
    return S_OK;
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
