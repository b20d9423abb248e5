// The EM2820 box ("USB 2820 Video") and its crossbar ("USB 2820 Crossbar"), whose video switch routes the
// crossbar (video inputs 1, 2, 3) before it writes the decoder's input mode.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/usb/UsbTVFilter.h"

class CEm2820Filter : public CUsbTVFilter {
public:
    static constexpr const char kCaptureName[] = "USB 2820 Video";

    using CUsbTVFilter::CUsbTVFilter;
    ~CEm2820Filter() override;
    void InitNames() override;
    BOOL InitTuner() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CEm2820CrossbarFilter : public CUsbTVCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "USB 2820 Crossbar";

    using CUsbTVCrossbarFilter::CUsbTVCrossbarFilter;
    // Routes the crossbar, then writes the decoder; the answer is the decoder write's.
    BOOL SetVideoInput(int source) override;
    void InitRouteTable() override;

    DECLARE_CARD_FILTER_CLASS();

protected:
    const char* VendorDeviceName() const override;
};
