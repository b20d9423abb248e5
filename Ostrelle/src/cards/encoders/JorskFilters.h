// The Jorsk box, a capture box on the WIS GO7007SB: its capture card ("Jorsk A/V Capture"), the
// WIS card as it stands, and its crossbar ("Jorsk CrossBar"), on the WIS crossbar whose sources
// 1 and 2 share audio input 4.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/encoders/WiseCaptureFilter.h"
#include "graph/CrossbarFilter.h"

class CJorskCaptureFilter : public CWiseCaptureFilter {
public:
    static constexpr const char kCaptureName[] = "Jorsk A/V Capture";

    using CWiseCaptureFilter::CWiseCaptureFilter;
    ~CJorskCaptureFilter() override;
    HRESULT OnHook1(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;

    DECLARE_CARD_FILTER_CLASS();
};

// Video inputs 0, 1, 2 and audio inputs 3, 4, 4 for sources 0, 1, 2.
class CWisCrossbarFilter : public CCrossbarFilter {
public:
    using CCrossbarFilter::CCrossbarFilter;
    void InitRouteTable() override;
    // Routes crossbar input `input` to output `output`; FALSE for an index out of range.
    virtual BOOL RoutePins(int input, int output);
};

class CJorskCrossbarFilter : public CWisCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Jorsk CrossBar";

    using CWisCrossbarFilter::CWisCrossbarFilter;
    ~CJorskCrossbarFilter() override;

    DECLARE_CARD_FILTER_CLASS();
};
