// The slots that the access classes of the cards on the SAA713x property set share (the
// property table is in KsPropertyAccess.h): CKsPropertyAccess, CMovrikAccess and CVozeAccess
// each hold one, bound to the filter's IKsPropertySet, and their slots call it, so each
// request is written once. "Locked" operations hold the owner's request lock for their whole
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

// The slots that CKsPropertyAccess, CMovrikAccess and CVozeAccess have alike, declared in the
// class body and defined once for all three on their CSaa713xPropertySlots member m_slots:
// `gpioReadMode` is the second mode word of the GPIO read, `gpioWriteHoldMs` how long a GPIO
// write holds its value. Slots 23 to 26 answer E_FAIL.
#define DECLARE_SAA713X_BASIC_SLOTS()                             \
    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()                            \
    HRESULT ReadBridgeReg(BYTE reg, BYTE* pValue) override;       \
    DECLARE_CUSTOM_DATA_ACCESS_REGISTER_SLOTS()

#define IMPLEMENT_SAA713X_BASIC_SLOTS(Class, gpioReadMode, gpioWriteHoldMs)                                 \
    HRESULT Class::Init(IUnknown* pDevice, void*) { return m_slots.Init(pDevice); }                          \
    HRESULT Class::Open(BYTE bOpen) { return m_slots.Open(bOpen); }                                          \
    HRESULT Class::I2C_Read(BYTE addr, int sub, BYTE* pData) { return m_slots.I2CRead(addr, sub, pData); }  \
    HRESULT Class::I2C_Write(BYTE addr, int sub, BYTE data) { return m_slots.I2CWrite(addr, sub, data); }   \
    HRESULT Class::I2C_ReadBlock(BYTE* buf, int len) { return m_slots.ReadBlock(buf, len); }                 \
    HRESULT Class::I2C_WriteBlock(BYTE* buf, int len) { return m_slots.WriteBlock(buf, len); }               \
    HRESULT Class::SetOption(BYTE value) { return m_slots.SetOption(value); }                                \
    HRESULT Class::GPIO_Read(DWORD* pValue) { return m_slots.GpioRead(gpioReadMode, pValue); }               \
    HRESULT Class::GPIO_Write(DWORD value, DWORD mask)                                                       \
    {                                                                                                        \
        return m_slots.GpioWrite(value, mask, gpioWriteHoldMs);                                              \
    }                                                                                                        \
    HRESULT Class::ReadBridgeReg(BYTE reg, BYTE* pValue) { return m_slots.ReadBridgeReg(reg, pValue); }      \
    HRESULT Class::ReadRegister32(DWORD addr, DWORD* pValue) { return m_slots.ReadRegister(addr, pValue); }  \
    HRESULT Class::WriteRegister32(DWORD addr, DWORD value) { return m_slots.WriteRegister(addr, value); }   \
    HRESULT Class::Reserved23(DWORD*) { return E_FAIL; }                                                     \
    HRESULT Class::Reserved24(DWORD) { return E_FAIL; }                                                      \
    HRESULT Class::Reserved25(DWORD*) { return E_FAIL; }                                                     \
    HRESULT Class::GPIO_SetTVFM(DWORD) { return E_FAIL; }

// The full set of CKsPropertyAccess and CVozeAccess: the basic slots with a GPIO write that
// holds its value no time, the GPIO write with a hold of the caller's, the controls 13 to 16
// and the tuner reset.
#define DECLARE_SAA713X_PROPERTY_SLOTS()                                         \
    DECLARE_SAA713X_BASIC_SLOTS()                                                \
    HRESULT GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs) override;        \
    HRESULT SetControl13(DWORD value) override;                                  \
    HRESULT SetControl14(DWORD value) override;                                  \
    HRESULT DoControl15() override;                                              \
    HRESULT SetControl16(DWORD value) override;                                  \
    HRESULT ResetTuner(BOOL bOpen) override;

#define IMPLEMENT_SAA713X_PROPERTY_SLOTS(Class, gpioReadMode)                                               \
    IMPLEMENT_SAA713X_BASIC_SLOTS(Class, gpioReadMode, 0)                                                    \
    HRESULT Class::GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs)                                       \
    {                                                                                                        \
        return m_slots.GpioWrite(value, mask, waitMs);                                                       \
    }                                                                                                        \
    HRESULT Class::SetControl13(DWORD value) { return m_slots.SetControl(KSPROPERTY_SAA713X_CONTROL13, value); } \
    HRESULT Class::SetControl14(DWORD value) { return m_slots.SetControl(KSPROPERTY_SAA713X_CONTROL14, value); } \
    HRESULT Class::DoControl15() { return m_slots.DoControl15(); }                                           \
    HRESULT Class::SetControl16(DWORD value) { return m_slots.SetControl(KSPROPERTY_SAA713X_CONTROL16, value); } \
    HRESULT Class::ResetTuner(BOOL bOpen) { return m_slots.ResetTuner(bOpen); }
