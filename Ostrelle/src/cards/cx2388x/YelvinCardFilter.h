// The Yelvin card and its crossbar: a CX2388x card with the on-board controller, traced,
// collecting a key for at most the remote wait limit.
#pragma once

#include "cards/cx2388x/Cx2388xCardFilter.h"

class CYelvinCardFilter : public CCx2388xControllerCardFilter {
public:
    static constexpr const char kCaptureName[] = "Yelvin Capture Card";
    static constexpr const char kTunerFilterName[] = "Yelvin Tuner";

    using CCx2388xControllerCardFilter::CCx2388xControllerCardFilter;

    BOOL Create() override;

    DECLARE_CARD_FILTER_CLASS();

protected:
    BOOL IsTracedMember() const override { return TRUE; }
};

class CYelvinCrossbarFilter : public CCx2388xCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Yelvin Crossbar";

    using CCx2388xCrossbarFilter::CCx2388xCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
