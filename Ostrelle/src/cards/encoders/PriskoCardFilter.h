// The Prisko MPEG encoder card ("Prisko Video Capture") and its crossbar: the Rivesk card and
// crossbar under their own names, with access kind 23. Its encoder device has a wrapper of
// its own (PriskoEncoderFilter.h).
#pragma once

#include "cards/encoders/RiveskCardFilter.h"

constexpr int ACCESS_KIND_PRISKO = 23;

class CPriskoCardFilter : public CRiveskCardFilter {
public:
    static constexpr const char kCaptureName[] = "Prisko Video Capture";
    static constexpr const char kTunerFilterName[] = "Prisko Tuner";

    using CRiveskCardFilter::CRiveskCardFilter;
    ~CPriskoCardFilter() override;

    void InitNames() override;

    DECLARE_CARD_FILTER_CLASS();

protected:
    int EncoderAccessKind() const override { return ACCESS_KIND_PRISKO; }
};

class CPriskoCrossbarFilter : public CRiveskCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Prisko Crossbar";

    using CRiveskCrossbarFilter::CRiveskCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
