// CMovrikAccess: the hardware access of the Movrik card, whose driver publishes the SAA713x
// property set (KsPropertyRequest.h; ids 1, 2, 3, 5 and 6 used). GPIO is built from the
// bridge's GPIO registers as CKsPropertyAccess builds it, with a GPIO read that drives only
// lines 12 and 13 (mode word 0x80003000) and a GPIO write that holds its value 120 ms before
// the mode register goes back to idle.
//
// The I2C and GPIO slots hold the request lock for their whole run, pauses included. Blocks
// longer than 256 bytes (the data field of id 6) are refused with E_INVALIDARG before anything
// is sent.
#pragma once

#include "access/CustomDataAccess.h"
#include "access/Saa713xPropertySlots.h"

class CMovrikAccess : public CSaa713xBasicAccess {
public:
    CMovrikAccess();
    ~CMovrikAccess() override;
};
