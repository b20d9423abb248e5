// The Cranlow family of the maker's own cards (Cranlow, Castrel, Grelmo, Fosbry, Dolbray): card
// bases with a receiver that latches a remote key on GPIO lines 0 to 8 instead of an on-board
// controller, a tuner probed at the five PLL addresses 0xC0 to 0xC8, and remote keys polled
// every 140 ms. The family base has no device of its own; neither has its crossbar base.
#pragma once

#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

class CCranlowBaseFilter : public CTVCardFilter {
public:
    static constexpr int kRemotePeriodMs = 140;

    using CTVCardFilter::CTVCardFilter;
    ~CCranlowBaseFilter() override;

    // The remote period becomes 140 ms.
    void InitNames() override;
    // One GPIO read: line 8 low means a key, whose code is the complement of lines 0 to 7 with
    // its nibbles swapped. On the device-control access the lines are written back (word |
    // 0x1FF, mask 0) after the read.
    BOOL GetRemoteData(BYTE* key) override;
    // The first of 0xC0, 0xC2, 0xC4, 0xC6, 0xC8 that answers becomes the tuner's write address,
    // with read address a | 1; none answering leaves the tuner's addresses (FALSE).
    BOOL DetectTunerAddress(CTunerBase* tuner) override;
};

class CCranlowBaseCrossbarFilter : public CCrossbarFilter {
public:
    using CCrossbarFilter::CCrossbarFilter;
};
