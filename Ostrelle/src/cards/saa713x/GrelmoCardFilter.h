// The Grelmo card of the Cranlow family ("Grelmo TV Capture") and its crossbar ("Grelmo TV
// Crossbar"), with nothing of their own.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/saa713x/CranlowBaseFilter.h"

class CGrelmoCardFilter : public CCranlowBaseFilter {
public:
    static constexpr const char kCaptureName[] = "Grelmo TV Capture";

    using CCranlowBaseFilter::CCranlowBaseFilter;
    ~CGrelmoCardFilter() override;
    DECLARE_CARD_FILTER_CLASS();
};

class CGrelmoCrossbarFilter : public CCranlowBaseCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Grelmo TV Crossbar";

    using CCranlowBaseCrossbarFilter::CCranlowBaseCrossbarFilter;
    DECLARE_CARD_FILTER_CLASS();
};
