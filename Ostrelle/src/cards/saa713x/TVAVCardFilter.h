// The TV AV card ("TV AV Capture") and its crossbar ("TV AV Capture Crossbar"): a card base
// whose construction hook does nothing, with the default route table.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

class CTVAVCardFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "TV AV Capture";

    using CTVCardFilter::CTVCardFilter;
    ~CTVAVCardFilter() override;
    void InitNames() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CTVAVCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "TV AV Capture Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
