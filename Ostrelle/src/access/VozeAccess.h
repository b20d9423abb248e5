// CVozeAccess: the hardware access of the "713x_D TV Card Capture" card, an SAA713x card whose
// driver publishes the SAA713x property set. Every slot it has behaves as the same slot of
// CKsPropertyAccess (locks, checks, requests: both call CSaa713xPropertySlots) but two: its
// GPIO read drives only lines 12 and 13 (second mode word 0x80003000, not 0x80007000), and it
// provides no video status (slot 27) or option register (slot 28): the interface's defaults,
// E_FAIL and E_NOTIMPL, answer.
#pragma once

#include "access/CustomDataAccess.h"
#include "access/Saa713xPropertySlots.h"

class CVozeAccess : public CSaa713xPropertyAccess {
public:
    CVozeAccess();
    ~CVozeAccess() override;
};
