// The Dolbray card ("Dolbray TV Card Capture") and its crossbar ("Dolbray TV Card Crossbar"): the
// Cranlow family's remote-key read and tuner-address probe, but its own construction hook, which
// leaves the remote period at the base's 100 ms; the crossbar has the default route table.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/saa713x/CranlowBaseFilter.h"
#include "graph/CrossbarFilter.h"

class CDolbrayCardFilter : public CCranlowBaseFilter {
public:
    static constexpr const char kCaptureName[] = "Dolbray TV Card Capture";

    using CCranlowBaseFilter::CCranlowBaseFilter;
    ~CDolbrayCardFilter() override;
    // Replaces the Cranlow hook: the remote period stays 100 ms.
    void InitNames() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CDolbrayCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Dolbray TV Card Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
