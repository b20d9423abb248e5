// The base SAA713x TV card ("713x TV Card Capture") and its crossbar ("713x TV Card Crossbar"):
// everything is the card base's (its access on either driver, the tuner from the standard EEPROM
// layout, the base remote-key protocol every 100 ms) and the default route table.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

class CTV713xCardFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "713x TV Card Capture";

    using CTVCardFilter::CTVCardFilter;
    ~CTV713xCardFilter() override;
    DECLARE_CARD_FILTER_CLASS();
};

class C713xCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "713x TV Card Crossbar";

    using CCrossbarFilter::CCrossbarFilter;
    DECLARE_CARD_FILTER_CLASS();
};
