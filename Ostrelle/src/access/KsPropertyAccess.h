// CKsPropertyAccess: the hardware access of the SAA713x PCI cards whose capture driver
// publishes the property set KSPROPSETID_Saa713xAccess on its capture filter. Every request is
// one or more IKsPropertySet Get or Set calls on that set; GPIO and the tuner reset are built
// from accesses to the decoder's GPIO registers.
//
// Wire format. Every request passes one local buffer as both the instance data and the
// property data. Bytes 0 to 23 stand where the driver's property header lies and are not
// filled by the program (they travel as zero); the payload starts at byte 24. The count of
// bytes a Get returns is not used.
//
//   id  request                verb     instance/data  payload
//    0  device information     Get      24/48          answer: WORD at 24, WORD at 26
//    1  Open                   Set      24/48          BYTE flag at 24
//    2  one-byte I2C transfer  Get/Set  32/56          BYTE address at 24 (as the caller gave it),
//                                                      DWORD sub-address at 28, BYTE data at 32
//    3  SetOption              Set      24/48          BYTE value at 24
//    4  GPIO                   Get/Set  24/48          DWORD mask at 24, DWORD value at 28
//    5  32-bit register        Get/Set  24/48          DWORD register at 24, DWORD value at 28
//    6  I2C block              Get/Set  280/304        BYTE data[256] at 24 (byte 24 the
//                                                      address), DWORD length at 280
//    7  SetControl13           Set      24/48          DWORD value at 24
//    8  SetControl14           Set      24/48          DWORD value at 24
//    9  DoControl15            Set      16/40          nothing
//   10  SetControl16           Set      24/48          DWORD value at 24
//
// The I2C, GPIO, control and tuner-reset slots hold the request lock for their whole run, so a
// GPIO or reset sequence of several register accesses is never interleaved with another
// locked request of this object. Block transfers are defined for at most 256 bytes (the data
// field of id 6); longer ones are refused with E_INVALIDARG before anything is sent.
#pragma once

#include "access/CustomDataAccess.h"
#include "access/Saa713xPropertySlots.h"

class CKsPropertyAccess : public CSaa713xPropertyAccess {
public:
    CKsPropertyAccess();
    ~CKsPropertyAccess() override;

    HRESULT Reserved27(DWORD* pValue) override;
    HRESULT Reserved28(BOOL flag) override;
};
