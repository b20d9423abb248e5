// CKesh713xAccess: the hardware access of the "713x BDA Analog Capture" card, an SAA713x PCI
// card whose driver publishes two property sets on its capture filter: I2C transfers on
// KSPROPSETID_Kesh713xI2C and 32-bit chip registers on KSPROPSETID_Kesh713xRegister, property
// id 0 in both. The GPIO lines are driven and sampled through the GPIO mode register 0x1B0
// (one direction bit per line, 1 = the chip drives it; bit 31 the sampling strobe) and the
// GPIO status register 0x1B4 (line levels), both over the register set.
//
// Wire format. An I2C request carries a transfer record as its instance data and a data
// record as its property data. The records hold pointers into the caller's memory, which the
// driver dereferences; they keep the fields and order of the 32-bit driver interface with
// pointer-sized pointer fields, each field at its natural alignment. On this platform
// (pointers of 8 bytes) that gives:
//
//   transfer record, 40 bytes                       data record, 16 bytes
//   offset size                                     offset size
//    0     1  device address (8-bit, read/write      0     8  write: the bytes to write
//             bit as the caller gave it); 0xFF:      8     4  write: how many
//             raw transfer, the device address      12     4  not filled
//             travels as the sub-address byte
//    1     7  not filled                            (a read fills neither field)
//    8     8  pointer to the sub-address byte
//   16     4  sub-address length: 1
//   20     4  not filled
//   24     8  read: pointer to the data byte
//   32     4  data length: 1
//   36     4  not filled
//
// (With 4-byte pointers the same declarations give the driver's 24-byte and 8-byte records:
// offsets 0, 4, 8, 12, 16, 20 and 0, 4.) A read is a Get, the driver storing the byte through
// the transfer record's data pointer; a write is a Set. Fields not filled travel as zero.
//
// A register request carries an 8-byte register record as instance data (the register
// address, then 4 bytes not filled) and the 4-byte register value as property data.
//
// Every GPIO step is a call of this object's own ReadRegister32 or WriteRegister32. The I2C,
// register and GPIO slots hold the request lock for their whole run, the GPIO line slots 23 to
// 27 included, so a GPIO write of another thread never falls inside a read-modify-write.
#pragma once

#include <cstddef>

#include <strmif.h>

#include "access/CustomDataAccess.h"

// FBB1C466-BE03-470F-9A8F-A2AA0FA2C0EE
DEFINE_GUID(KSPROPSETID_Kesh713xI2C, 0xFBB1C466, 0xBE03, 0x470F, 0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE);
// AE36141A-6F0A-42CE-9DF3-03997E538585
DEFINE_GUID(KSPROPSETID_Kesh713xRegister, 0xAE36141A, 0x6F0A, 0x42CE, 0x9D, 0xF3, 0x03, 0x99, 0x7E, 0x53, 0x85,
            0x85);

struct KESH_I2C_TRANSFER {
    BYTE ucAddress;
    BYTE* pSubAddress;
    DWORD dwSubAddressLength;
    BYTE* pData;
    DWORD dwDataLength;
    DWORD dwReserved;
};

struct KESH_I2C_DATA {
    const BYTE* pWrite;
    DWORD dwWriteLength;
};

struct KESH_REGISTER {
    DWORD dwAddress;
    DWORD dwReserved;
};

static_assert(sizeof(void*) != 8 || (offsetof(KESH_I2C_TRANSFER, pSubAddress) == 8 &&
                                     offsetof(KESH_I2C_TRANSFER, dwSubAddressLength) == 16 &&
                                     offsetof(KESH_I2C_TRANSFER, pData) == 24 &&
                                     offsetof(KESH_I2C_TRANSFER, dwDataLength) == 32 &&
                                     sizeof(KESH_I2C_TRANSFER) == 40 && sizeof(KESH_I2C_DATA) == 16),
              "the 64-bit layout documented above");
static_assert(sizeof(KESH_REGISTER) == 8);

class CKesh713xAccess : public CCustomDataAccess {
public:
    CKesh713xAccess();
    ~CKesh713xAccess() override;

    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()
    // GPIO read with lines 12 to 17 driven, after a rising strobe.
    HRESULT Reserved8(DWORD first, DWORD* pValue) override;
    HRESULT GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs) override;
    // Reserved23 samples line 23: *pValue 0 or 1. Reserved24 drives line 22 to bit 0 of its
    // argument, line 17 to bit 1, line 14 high. Reserved25 samples lines 22 (into bit 0) and 17
    // (into bit 1). GPIO_SetTVFM drives line 21: high for TV (mode 0), low otherwise.
    DECLARE_CUSTOM_DATA_ACCESS_REGISTER_SLOTS()
    HRESULT Reserved27(DWORD* pValue) override;

    // The card filter's name for slot 8.
    HRESULT GPIO_ReadLatched(DWORD first, DWORD* pValue) { return Reserved8(first, pValue); }

private:
    HRESULT I2CRequest(BYTE ucAddress, BYTE* pSubAddress, BYTE* pRead, const BYTE* pWrite, DWORD count);
    HRESULT ReadLatchedWord(DWORD mode, DWORD* pValue);
    HRESULT SampleLines(DWORD lines, DWORD* pValue, DWORD (*extract)(DWORD status));
    HRESULT DriveLines(DWORD lines, DWORD levels);

    CComPtr<IKsPropertySet> m_pKsPropertySet;
};
