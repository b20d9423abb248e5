// The EM2800 box ("USB 2800 Video") and its crossbar ("USB 2800 Crossbar"), which reaches the box's video
// decoder through the vendor device "USB 2800 TVTuner".
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/usb/UsbTVFilter.h"

class CEm2800Filter : public CUsbTVFilter {
public:
    static constexpr const char kCaptureName[] = "USB 2800 Video";

    using CUsbTVFilter::CUsbTVFilter;
    ~CEm2800Filter() override;
    void InitNames() override;
    BOOL InitTuner() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CEm2800CrossbarFilter : public CUsbTVCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "USB 2800 Crossbar";

    using CUsbTVCrossbarFilter::CUsbTVCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
