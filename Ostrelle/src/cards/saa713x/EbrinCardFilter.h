// The Ebrin card ("Ebrin Capture") and its crossbar ("Ebrin Crossbar"): a card base whose
// construction hook does nothing, with the default route table.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

class CEbrinCardFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "Ebrin Capture";

    using CTVCardFilter::CTVCardFilter;
    ~CEbrinCardFilter() override;
    void InitNames() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CEbrinCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Ebrin Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
