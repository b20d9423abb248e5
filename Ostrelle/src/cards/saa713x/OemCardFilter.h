// The OEM card of the Cranlow family ("Castrel Capture") and its crossbar ("Castrel Crossbar"),
// with nothing of their own.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/saa713x/CranlowBaseFilter.h"

class COemCardFilter : public CCranlowBaseFilter {
public:
    static constexpr const char kCaptureName[] = "Castrel Capture";

    using CCranlowBaseFilter::CCranlowBaseFilter;
    ~COemCardFilter() override;
    DECLARE_CARD_FILTER_CLASS();
};

class COemCrossbarFilter : public CCranlowBaseCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Castrel Crossbar";

    using CCranlowBaseCrossbarFilter::CCranlowBaseCrossbarFilter;
    DECLARE_CARD_FILTER_CLASS();
};
