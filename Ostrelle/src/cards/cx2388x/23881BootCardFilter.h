// The "Conexant 2388x_1" card and its crossbar: a CX2388x card with the on-board controller,
// untraced, collecting a key for at most one second.
#pragma once

#include "cards/cx2388x/Cx2388xCardFilter.h"

class C23881BootCardFilter : public CCx2388xControllerCardFilter {
public:
    static constexpr const char kCaptureName[] = "Conexant 2388x_1 Video Capture";
    static constexpr const char kTunerFilterName[] = "Conexant 2388x_1 Tuner";

    using CCx2388xControllerCardFilter::CCx2388xControllerCardFilter;

    BOOL Create() override;

    DECLARE_CARD_FILTER_CLASS();

protected:
    BOOL IsTracedMember() const override { return FALSE; }
};

class C23881BootCrossbarFilter : public CCx2388xCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Conexant 2388x_1 Crossbar";

    using CCx2388xCrossbarFilter::CCx2388xCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
