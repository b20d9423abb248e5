// CBoxAccess: what the access classes of the USB encoder boxes share. The box has no direct
// I2C path: every chip request is a box property (CBoxProperty) on the driver filter kept by
// Init. The I2C slots hold the box lock (a critical section of the class's own) for their whole
// run; the base's request lock is not used. GPIO and the option byte are not offered.
//
// The box firmware takes device 0x20 as its video decoder at 0x21: reads of 0x20 go to 0x21
// with mode 1 (the decoder's register read), writes go out as addressed.
#pragma once

#include <strmif.h>

#include "access/BoxProperty.h"
#include "access/CustomDataAccess.h"

class CBoxAccess : public CCustomDataAccess {
public:
    ~CBoxAccess() override;

    HRESULT Init(IUnknown* pDevice, void* pContext) override;
    HRESULT Open(BYTE bOpen) override;
    HRESULT I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData) override;
    HRESULT I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData) override;
    HRESULT SetOption(BYTE value) override;
    HRESULT GPIO_Read(DWORD* pValue) override;
    HRESULT GPIO_Write(DWORD value, DWORD mask) override;

    // The driver filter held since Init (no reference added).
    IUnknown* Filter() const { return m_pFilter; }

protected:
    explicit CBoxAccess(const CBoxProperty& property);

    CComPtr<IUnknown> m_pFilter;
    // The box lock.
    CRITICAL_SECTION m_csBox;
    const CBoxProperty& m_property;
};
