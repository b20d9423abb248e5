// The slots that the access classes of the cards on the SAA713x property set share (the
// property table is in KsPropertyAccess.h): CSaa713xPropertySlots, bound to the filter's
// IKsPropertySet, writes each request once; CSaa713xBasicAccess and CSaa713xPropertyAccess, the
// bases of CMovrikAccess, CKsPropertyAccess and CVozeAccess, hold one and their slots call it. "Locked" operations hold the owner's request lock for their whole
// run, pauses included; GPIO and the reset are built from the bridge's GPIO registers through
// the owner's register slots (21 and 22).
#pragma once

#include "access/CustomDataAccess.h"
#include "access/KsPropertyRequest.h"

class CSaa713xPropertySlots {
public:
    // owner: the access object whose register slots the GPIO sequences run on; lock: its
    // request lock.
    CSaa713xPropertySlots(CCustomDataAccess* owner, CRITICAL_SECTION* lock);
    CSaa713xPropertySlots(const CSaa713xPropertySlots&) = delete;
    CSaa713xPropertySlots& operator=(const CSaa713xPropertySlots&) = delete;

    // Releases a held interface; E_POINTER for a null device, else the result of asking it for
    // IKsPropertySet.
    HRESULT Init(IUnknown* pDevice);
    IKsPropertySet* Interface() const { return m_pKsPropertySet; }

    HRESULT Open(BYTE bOpen);
    HRESULT SetOption(BYTE value);
    // Locked.
    HRESULT I2CRead(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData);
    HRESULT I2CWrite(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData);
    HRESULT ReadBlock(BYTE* buf, int len);
    HRESULT WriteBlock(BYTE* buf, int len);
    // Locked: the strobed GPIO read with `modeWord` as its second mode word (E_POINTER for a
    // null pValue), the strobed GPIO write holding its value waitMs before the idle word.
    HRESULT GpioRead(DWORD modeWord, DWORD* pValue);
    HRESULT GpioWrite(DWORD value, DWORD mask, DWORD waitMs);
    // Locked: the tuner's reset line (GPIO line 18) driven to bOpen, every other line kept.
    HRESULT ResetTuner(BOOL bOpen);
    // Locked: a control Set of one DWORD, or of nothing (id 9).
    HRESULT SetControl(DWORD id, DWORD value);
    HRESULT DoControl15();
    HRESULT ReadBridgeReg(BYTE reg, BYTE* pValue);
    HRESULT ReadRegister(DWORD addr, DWORD* pValue);
    HRESULT WriteRegister(DWORD addr, DWORD value);

private:
    CCustomDataAccess* const m_pOwner;
    CRITICAL_SECTION* const m_pLock;
    CComPtr<IKsPropertySet> m_pKsPropertySet;
};

// CSaa713xBasicAccess: the slots that CKsPropertyAccess, CMovrikAccess and CVozeAccess have
// alike, each a call on the CSaa713xPropertySlots member m_slots: `gpioReadMode` is the second
// mode word of the GPIO read, `gpioWriteHoldMs` how long a GPIO write holds its value. Slots 23 to
// 26 answer E_FAIL.
class CSaa713xBasicAccess : public CCustomDataAccess {
public:
    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()
    HRESULT ReadBridgeReg(BYTE reg, BYTE* pValue) override;
    DECLARE_CUSTOM_DATA_ACCESS_REGISTER_SLOTS()

protected:
    CSaa713xBasicAccess(DWORD gpioReadMode, DWORD gpioWriteHoldMs);

    CSaa713xPropertySlots m_slots;

private:
    const DWORD m_dwGpioReadMode;
    const DWORD m_dwGpioWriteHoldMs;
};

// CSaa713xPropertyAccess: the full set of CKsPropertyAccess and CVozeAccess: the basic slots with
// a GPIO write that holds its value no time, the GPIO write with a hold of the caller's, the
// controls 13 to 16 and the tuner reset.
class CSaa713xPropertyAccess : public CSaa713xBasicAccess {
public:
    HRESULT GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs) override;
    HRESULT SetControl13(DWORD value) override;
    HRESULT SetControl14(DWORD value) override;
    HRESULT DoControl15() override;
    HRESULT SetControl16(DWORD value) override;
    HRESULT ResetTuner(BOOL bOpen) override;

protected:
    explicit CSaa713xPropertyAccess(DWORD gpioReadMode);
};
