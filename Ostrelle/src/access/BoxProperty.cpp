// CBoxProperty: the property routines of the USB encoder boxes.
#include "access/BoxProperty.h"

#include <cstring>

namespace {

// The 9-byte request, packed by hand: the register sits unaligned at offset 5.
void PackRequest(BYTE* request, DWORD device, BYTE mode, DWORD reg)
{
    std::memset(request, 0, BOX_REQUEST_SIZE);
    for (int i = 0; i < 4; ++i) request[i] = static_cast<BYTE>(device >> (8 * i));
    request[4] = mode;
    for (int i = 0; i < 4; ++i) request[5 + i] = static_cast<BYTE>(reg >> (8 * i));
}

}  // namespace

CBoxProperty::CBoxProperty(const char* pszOwner) : m_pszOwner(pszOwner) {}

BOOL CBoxProperty::Call(bool bGet, IUnknown* pFilter, REFGUID set, DWORD id, void* pInstance, DWORD instLen,
                        void* pData, DWORD dataLen) const
{
    const char* routine = bGet ? "GetFilterProperty" : "SetFilterProperty";
    CComPtr<IKsPropertySet> pKsPropertySet;
    if (!pFilter || FAILED(pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&pKsPropertySet))) ||
        !pKsPropertySet) {
        TRACE("%s::%s - Query IID_IKsPropertySet failed\n", m_pszOwner, routine);
        return FALSE;
    }
    DWORD support = 0;
    if (FAILED(pKsPropertySet->QuerySupported(set, id, &support))) {
        TRACE("%s::%s - IKsPropertySet->QuerySupported property failed\n", m_pszOwner, routine);
        return FALSE;
    }
    if (!(support & (bGet ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET))) {
        TRACE("%s::%s - IKsPropertySet->%s property method is not supported\n", m_pszOwner, routine,
              bGet ? "Get" : "Set");
        return FALSE;
    }
    HRESULT hr;
    if (bGet) {
        DWORD returned = 0;
        hr = pKsPropertySet->Get(set, id, pInstance, instLen, pData, dataLen, &returned);
    } else {
        hr = pKsPropertySet->Set(set, id, pInstance, instLen, pData, dataLen);
    }
    return hr == S_OK;
}

BOOL CBoxProperty::GetFilterProperty(IUnknown* pFilter, DWORD id, void* pInstance, DWORD instLen, void* pData,
                                     DWORD dataLen, REFGUID set) const
{
    return Call(true, pFilter, set, id, pInstance, instLen, pData, dataLen);
}

BOOL CBoxProperty::GetFilterProperty(IUnknown* pFilter, DWORD id, void* pData, DWORD len) const
{
    return Call(true, pFilter, KSPROPSETID_Box, id, pData, len, pData, len);
}

BOOL CBoxProperty::SetFilterProperty(IUnknown* pFilter, DWORD id, void* pInstance, DWORD instLen, void* pData,
                                     DWORD dataLen, REFGUID set) const
{
    return Call(false, pFilter, set, id, pInstance, instLen, pData, dataLen);
}

BOOL CBoxProperty::SetFilterProperty(IUnknown* pFilter, DWORD id, void* pData, DWORD len) const
{
    return Call(false, pFilter, KSPROPSETID_Box, id, pData, len, pData, len);
}

BOOL CBoxProperty::QueryBoxValue(IUnknown* pFilter, DWORD device, BYTE mode, DWORD reg, DWORD* pValue) const
{
    if (!pValue) return FALSE;
    BYTE request[BOX_REQUEST_SIZE];
    PackRequest(request, device, mode, reg);
    DWORD answer = 0;
    if (!GetFilterProperty(pFilter, BOX_PROPERTY_REGISTER, request, sizeof(request), &answer, sizeof(answer))) {
        return FALSE;
    }
    *pValue = answer;
    return TRUE;
}

BOOL CBoxProperty::SetBoxValue(IUnknown* pFilter, DWORD device, BYTE mode, DWORD reg, DWORD value) const
{
    BYTE request[BOX_REQUEST_SIZE];
    PackRequest(request, device, mode, reg);
    return SetFilterProperty(pFilter, BOX_PROPERTY_REGISTER, request, sizeof(request), &value, sizeof(value));
}
