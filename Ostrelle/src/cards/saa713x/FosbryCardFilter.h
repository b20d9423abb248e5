// The Fosbry OEM card of the Cranlow family ("Fosbry TV Capture") and its crossbar ("Fosbry TV
// Crossbar"), with nothing of their own.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/saa713x/CranlowBaseFilter.h"

class CFosbryCardFilter : public CCranlowBaseFilter {
public:
    static constexpr const char kCaptureName[] = "Fosbry TV Capture";

    using CCranlowBaseFilter::CCranlowBaseFilter;
    ~CFosbryCardFilter() override;
    DECLARE_CARD_FILTER_CLASS();
};

class CFosbryCrossbarFilter : public CCranlowBaseCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Fosbry TV Crossbar";

    using CCranlowBaseCrossbarFilter::CCranlowBaseCrossbarFilter;
    DECLARE_CARD_FILTER_CLASS();
};
