// The first CX2388x card ("Conexant 2388x Video Capture", tuner device "Conexant 2388x Tuner")
// and its crossbar: access through CKsGpioAccess on the tuner device, remote keys on the low
// GPIO lines (bits 0-7 the key, bit 8 low while a key is there), no controller words.
#pragma once

#include "cards/cx2388x/Cx2388xCardFilter.h"

class C23881CardFilter : public CCx2388xCardFilter {
public:
    static constexpr const char kCaptureName[] = "Conexant 2388x Video Capture";
    static constexpr const char kTunerFilterName[] = "Conexant 2388x Tuner";

    using CCx2388xCardFilter::CCx2388xCardFilter;
    ~C23881CardFilter() override;

    BOOL Create() override;
    // The CX2388x audio switch without the controller's mutex.
    HRESULT SetAudioSource(int source, BOOL on) override;
    // Every read with bit 8 low is a key (no debounce): the complement of bits 0-7 with its two
    // nibbles swapped.
    BOOL GetRemoteData(BYTE* key) override;
    HRESULT InitAccess() override;

    DECLARE_CARD_FILTER_CLASS();
};

class C23881CrossbarFilter : public CCx2388xCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Conexant 2388x Crossbar";

    using CCx2388xCrossbarFilter::CCx2388xCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
