// The Movrik card ("Movrik Video Capture") and its crossbar ("Movrik Crossbar"): the Sivren card's
// operations (tuner places, word transactions, audio switch) over the Movrik board's own access
// class, CMovrikAccess, access kind 2.
#pragma once

#include "cards/saa713x/SivrenCardFilter.h"

class CMovrikCardFilter : public CSivrenCardFilter {
public:
    static constexpr const char kCaptureName[] = "Movrik Video Capture";

    using CSivrenCardFilter::CSivrenCardFilter;
    ~CMovrikCardFilter() override;

    // A CMovrikAccess bound to the capture filter and opened, access kind 2.
    HRESULT InitAccess() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CMovrikCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Movrik Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
