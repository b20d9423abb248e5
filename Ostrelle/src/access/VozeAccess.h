// CVozeAccess: the hardware access of the "713x_D TV Card Capture" card, an SAA713x card whose
// driver publishes the SAA713x property set. It behaves as CKsPropertyAccess in every slot
// (locks, checks, requests) but two: its GPIO read drives only lines 12 and 13 (second mode
// word 0x80003000, not 0x80007000), and the video status (slot 27) and the option register
// (slot 28) are not provided (the interface's defaults, E_FAIL and E_NOTIMPL).
#pragma once

#include "access/KsPropertyAccess.h"

class CVozeAccess : public CKsPropertyAccess {
public:
    CVozeAccess();
    ~CVozeAccess() override;

    HRESULT Reserved27(DWORD* pValue) override;
    HRESULT Reserved28(BOOL flag) override;
};
