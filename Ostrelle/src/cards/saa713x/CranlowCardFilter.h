// The maker's own Cranlow card ("Vorlane Cranlow Capture") and its crossbar ("Vorlane Cranlow
// Crossbar"): a member of the Cranlow family with nothing of its own.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/saa713x/CranlowBaseFilter.h"

class CCranlowCardFilter : public CCranlowBaseFilter {
public:
    static constexpr const char kCaptureName[] = "Vorlane Cranlow Capture";

    using CCranlowBaseFilter::CCranlowBaseFilter;
    ~CCranlowCardFilter() override;
    DECLARE_CARD_FILTER_CLASS();
};

class CCranlowCrossbarFilter : public CCranlowBaseCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Vorlane Cranlow Crossbar";

    using CCranlowBaseCrossbarFilter::CCranlowBaseCrossbarFilter;
    DECLARE_CARD_FILTER_CLASS();
};
