// CRiveskAccess: the hardware access of the Rivesk and Prisko MPEG encoder cards, whose driver
// speaks the layout of the SAA713x property set (KsPropertyRequest.h, ids 0 to 4 and 6) on a
// set of its own, KSPROPSETID_RiveskAccess, and keeps GPIO itself as id 4.
//
// Each I2C slot is one request that the driver carries whole, so only the GPIO slots take the
// request lock. A block read sends buf[0] as the caller wrote it. A GPIO write pauses 100 ms
// after its request, whatever the driver answered. Blocks longer than 256 bytes (the data
// field of id 6) are refused with E_INVALIDARG before anything is sent.
#pragma once

#include "access/CustomDataAccess.h"
#include "access/KsPropertyRequest.h"

// B9433C39-8511-4660-A2ED-E0911456DF74
DEFINE_GUID(KSPROPSETID_RiveskAccess, 0xB9433C39, 0x8511, 0x4660, 0xA2, 0xED, 0xE0, 0x91, 0x14, 0x56, 0xDF, 0x74);

class CRiveskAccess : public CCustomDataAccess {
public:
    CRiveskAccess();
    ~CRiveskAccess() override;

    // Fails, although the filter has IKsPropertySet, when the driver does not answer
    // QuerySupported for id 0 of the set.
    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()

    // Slot 29: the two words of property id 0, each widened; written only when the Get succeeded.
    virtual HRESULT GetDeviceInfo(DWORD* pFirst, DWORD* pSecond);

private:
    CComPtr<IKsPropertySet> m_pKsPropertySet;
};
