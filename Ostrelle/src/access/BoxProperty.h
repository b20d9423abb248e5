// CBoxProperty: the property routines of the USB encoder boxes, whose driver filter carries
// every chip request as a box property of set KSPROPSETID_Box. One object per access class, named
// for that class in its traces ("CMpeg2BoxAccess::GetFilterProperty - ...").
//
// Every call asks the filter for IKsPropertySet (released again before the call returns), asks
// QuerySupported for the property and checks the Get or Set bit, then makes the call; TRUE
// exactly when the Get or Set answered S_OK.
//
// Box register request (property 20, instance data, 9 bytes, packed): DWORD 7-bit device at 0,
// BYTE mode at 4, DWORD register at 5 (unaligned); the property data is the DWORD value.
#pragma once

#include <strmif.h>

// D2185A40-0398-11D3-A53E-00A0C9EF506A
DEFINE_GUID(KSPROPSETID_Box, 0xD2185A40, 0x0398, 0x11D3, 0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A);

#define BOX_PROPERTY_REGISTER 20
#define BOX_REQUEST_SIZE 9

class CBoxProperty {
public:
    explicit CBoxProperty(const char* pszOwner);

    BOOL GetFilterProperty(IUnknown* pFilter, DWORD id, void* pInstance, DWORD instLen, void* pData, DWORD dataLen,
                           REFGUID set = KSPROPSETID_Box) const;
    // The buffer as both instance and data.
    BOOL GetFilterProperty(IUnknown* pFilter, DWORD id, void* pData, DWORD len) const;
    BOOL SetFilterProperty(IUnknown* pFilter, DWORD id, void* pInstance, DWORD instLen, void* pData, DWORD dataLen,
                           REFGUID set = KSPROPSETID_Box) const;
    BOOL SetFilterProperty(IUnknown* pFilter, DWORD id, void* pData, DWORD len) const;

    // Property 20: reads (Get) or writes (Set) one value through the box.
    BOOL QueryBoxValue(IUnknown* pFilter, DWORD device, BYTE mode, DWORD reg, DWORD* pValue) const;
    BOOL SetBoxValue(IUnknown* pFilter, DWORD device, BYTE mode, DWORD reg, DWORD value) const;

    const char* Owner() const { return m_pszOwner; }

private:
    BOOL Call(bool bGet, IUnknown* pFilter, REFGUID set, DWORD id, void* pInstance, DWORD instLen, void* pData,
              DWORD dataLen) const;

    const char* m_pszOwner;
};

// The box property routines as static members of the access class `Owner`, which names itself
// in Owner::kClassName: CMpeg2BoxAccess::QueryBoxValue(pFilter, ...).
template <class Owner>
class CBoxPropertyRoutines {
public:
    static const CBoxProperty& Routines()
    {
        static const CBoxProperty routines(Owner::kClassName);
        return routines;
    }
    static BOOL GetFilterProperty(IUnknown* pFilter, DWORD id, void* pInstance, DWORD instLen, void* pData,
                                  DWORD dataLen)
    {
        return Routines().GetFilterProperty(pFilter, id, pInstance, instLen, pData, dataLen);
    }
    static BOOL GetFilterProperty(IUnknown* pFilter, DWORD id, void* pData, DWORD len)
    {
        return Routines().GetFilterProperty(pFilter, id, pData, len);
    }
    static BOOL SetFilterProperty(IUnknown* pFilter, DWORD id, void* pInstance, DWORD instLen, void* pData,
                                  DWORD dataLen)
    {
        return Routines().SetFilterProperty(pFilter, id, pInstance, instLen, pData, dataLen);
    }
    static BOOL SetFilterProperty(IUnknown* pFilter, DWORD id, void* pData, DWORD len)
    {
        return Routines().SetFilterProperty(pFilter, id, pData, len);
    }
    static BOOL QueryBoxValue(IUnknown* pFilter, DWORD device, BYTE mode, DWORD reg, DWORD* pValue)
    {
        return Routines().QueryBoxValue(pFilter, device, mode, reg, pValue);
    }
    static BOOL SetBoxValue(IUnknown* pFilter, DWORD device, BYTE mode, DWORD reg, DWORD value)
    {
        return Routines().SetBoxValue(pFilter, device, mode, reg, value);
    }
};
