// The Wadrel card ("713x_Wadrel TV Card Capture") and its crossbar ("713x_Wadrel TV Card
// Crossbar"): a card base (its access on either driver, the base controller protocol) whose
// remote keys are polled every 140 ms.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

class CWadrelCardFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "713x_Wadrel TV Card Capture";
    static constexpr int kRemotePeriodMs = 140;

    using CTVCardFilter::CTVCardFilter;
    ~CWadrelCardFilter() override;
    // The remote period becomes 140 ms.
    void InitNames() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CWadrelCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "713x_Wadrel TV Card Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
