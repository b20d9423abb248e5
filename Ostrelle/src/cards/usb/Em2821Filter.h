// The EM2821 box ("USB 2821 Video") and its crossbar ("USB 2821 Crossbar"). Its EEPROM keeps the tuner's
// maker letter at 0xD0 and model at 0xD1.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/usb/UsbTVFilter.h"

class CEm2821Filter : public CUsbTVFilter {
public:
    static constexpr const char kCaptureName[] = "USB 2821 Video";

    static constexpr BYTE kFactoryAddr = 0xD0;
    static constexpr BYTE kModelAddr = 0xD1;

    using CUsbTVFilter::CUsbTVFilter;
    ~CEm2821Filter() override;

    // The EEPROM places of the tuner, before the card is opened.
    void InitNames() override;
    BOOL InitTuner() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CEm2821CrossbarFilter : public CUsbTVCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "USB 2821 Crossbar";

    using CUsbTVCrossbarFilter::CUsbTVCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();

protected:
    const char* VendorDeviceName() const override;
};
