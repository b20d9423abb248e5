// CCustomDataAccess: a card's hardware-access interface. One implementation per driver
// protocol carries the card's I2C, GPIO, register and reset requests to its driver; the card
// filter owns the object and its tuner reaches the chips only through it.
//
// I2C addresses are 8-bit bus addresses: callers pass the write form, implementations form
// the read address as (address & 0xFE) + 1. Block transfers carry the device address in byte 0
// of the buffer and count it in the length; a block read returns its bytes from byte 0.
//
// The object holds a recursive request lock (m_csRequest). Which slots take it is each
// implementation's choice; the default bodies take none.
#pragma once

#include <unknwn.h>
#include <windows.h>

class CCustomDataAccess {
public:
    CCustomDataAccess();
    CCustomDataAccess(const CCustomDataAccess&) = delete;
    CCustomDataAccess& operator=(const CCustomDataAccess&) = delete;

    virtual ~CCustomDataAccess();                                          // 0

    virtual HRESULT Init(IUnknown* pDevice, void* pContext) = 0;           // 1
    virtual HRESULT Open(BYTE bOpen) = 0;                                  // 2
    virtual HRESULT I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData) = 0;   // 3
    virtual HRESULT I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData) = 0;  // 4
    virtual HRESULT I2C_ReadBlock(BYTE* buf, int len) = 0;                 // 5
    virtual HRESULT I2C_WriteBlock(BYTE* buf, int len) = 0;                // 6
    virtual HRESULT SetOption(BYTE value) = 0;                             // 7
    // Slot 8: a GPIO read that first latches the inputs, on the one class that has it.
    virtual HRESULT Reserved8(DWORD first, DWORD* pValue);                 // 8
    virtual HRESULT GPIO_Read(DWORD* pValue) = 0;                          // 9
    virtual HRESULT GPIO_Write(DWORD value, DWORD mask) = 0;               // 10
    virtual HRESULT GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs);   // 11
    virtual HRESULT GPIO_ReadEx(DWORD* pValue);                            // 12
    virtual HRESULT SetControl13(DWORD value);                             // 13
    virtual HRESULT SetControl14(DWORD value);                             // 14
    virtual HRESULT DoControl15();                                         // 15
    virtual HRESULT SetControl16(DWORD value);                             // 16
    virtual HRESULT ResetTuner(BOOL bOpen);                                // 17
    virtual HRESULT WriteBridgeReg(BYTE reg, BYTE value);                  // 18
    virtual HRESULT ReadBridgeReg(BYTE reg, BYTE* pValue);                 // 19
    virtual HRESULT GetStatus(BOOL bOn);                                   // 20
    virtual HRESULT ReadRegister32(DWORD addr, DWORD* pValue);             // 21
    virtual HRESULT WriteRegister32(DWORD addr, DWORD value);              // 22
    virtual HRESULT Reserved23(DWORD* pValue);                             // 23
    virtual HRESULT Reserved24(DWORD value);                               // 24
    virtual HRESULT Reserved25(DWORD* pValue);                             // 25
    virtual HRESULT GPIO_SetTVFM(DWORD mode);                              // 26
    // Video status: 1 when the video decoder reports its status bit, else 0.
    virtual HRESULT Reserved27(DWORD* pValue);                             // 27
    virtual HRESULT Reserved28(BOOL flag);                                 // 28

protected:
    // The request lock; recursive, so a locked slot may call other slots of the object.
    CRITICAL_SECTION m_csRequest;
};

// Slots 3 to 6: the I2C transfers, declared in an implementation's class body.
#define DECLARE_CUSTOM_DATA_ACCESS_I2C_SLOTS()                                  \
    HRESULT I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData) override;     \
    HRESULT I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData) override;    \
    HRESULT I2C_ReadBlock(BYTE* buf, int len) override;                         \
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override;

// The slots that every implementation defines (the interface's pure ones: 1 to 7, 9 and 10).
#define DECLARE_CUSTOM_DATA_ACCESS_SLOTS()                                      \
    HRESULT Init(IUnknown* pDevice, void* pContext) override;                  \
    HRESULT Open(BYTE bOpen) override;                                          \
    DECLARE_CUSTOM_DATA_ACCESS_I2C_SLOTS()                                      \
    HRESULT SetOption(BYTE value) override;                                     \
    HRESULT GPIO_Read(DWORD* pValue) override;                                  \
    HRESULT GPIO_Write(DWORD value, DWORD mask) override;

// Slots 17 to 19: the tuner reset and the bridge's registers.
#define DECLARE_CUSTOM_DATA_ACCESS_BRIDGE_SLOTS()                \
    HRESULT ResetTuner(BOOL bOpen) override;                     \
    HRESULT WriteBridgeReg(BYTE reg, BYTE value) override;       \
    HRESULT ReadBridgeReg(BYTE reg, BYTE* pValue) override;

// Slots 21 to 26: the 32-bit chip registers, the reserved words 23 to 25 and the TV/FM switch.
#define DECLARE_CUSTOM_DATA_ACCESS_REGISTER_SLOTS()                 \
    HRESULT ReadRegister32(DWORD addr, DWORD* pValue) override;     \
    HRESULT WriteRegister32(DWORD addr, DWORD value) override;      \
    HRESULT Reserved23(DWORD* pValue) override;                     \
    HRESULT Reserved24(DWORD value) override;                       \
    HRESULT Reserved25(DWORD* pValue) override;                     \
    HRESULT GPIO_SetTVFM(DWORD mode) override;
