// The USB 2881 card ("USB 2881 Video") of the EM28xx box family, and its crossbar ("USB 2881
// Crossbar"). The card opens its CEm2800Access by the capture device's name with access kind 8;
// its tuner filter name is "USB 2881 TVTuner". The crossbar routes video inputs 1, 2, 3 and audio
// inputs 4, 5, 6, and its video switch reaches the box's decoder through "USB 2881 Video".
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/usb/UsbTVFilter.h"

class CUsbCard2881Filter : public CUsbTVFilter {
public:
    static constexpr const char kCaptureName[] = "USB 2881 Video";
    static constexpr const char kTunerName[] = "USB 2881 TVTuner";
    static constexpr int kAccessKind = 8;

    using CUsbTVFilter::CUsbTVFilter;
    ~CUsbCard2881Filter() override;

    void InitNames() override;
    HRESULT InitAccess() override;
    // The family's USB tuner.
    BOOL InitTuner() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CUsbCard2881CrossbarFilter : public CUsbTVCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "USB 2881 Crossbar";

    using CUsbTVCrossbarFilter::CUsbTVCrossbarFilter;
    void InitRouteTable() override;

    DECLARE_CARD_FILTER_CLASS();

protected:
    const char* VendorDeviceName() const override;
};
