// The USB TV box ("Vorlane USB TV Box Video") and its crossbar ("Vorlane USB TV Box Crossbar"). Its remote
// keys come from the I2C key controller at 0xBB, acknowledged by writing 0 to its register 0x30.
// The crossbar opens "Vorlane USB TV Box TVTuner" for the decoder write: no video-input device has
// that name, so its video switch answers FALSE and writes nothing.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/usb/UsbTVFilter.h"

class CUsbTVBoxFilter : public CUsbTVFilter {
public:
    static constexpr const char kCaptureName[] = "Vorlane USB TV Box Video";
    static constexpr BYTE kKeyControllerAddress = 0xBB;

    using CUsbTVFilter::CUsbTVFilter;
    ~CUsbTVBoxFilter() override;
    void InitNames() override;
    // Register 0x30 must read 1; it is acknowledged with 0, then after 10 ms the key is read.
    BOOL GetRemoteData(BYTE* key) override;
    BOOL InitTuner() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CUsbTVBoxCrossbarFilter : public CUsbTVCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Vorlane USB TV Box Crossbar";

    using CUsbTVCrossbarFilter::CUsbTVCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();

protected:
    const char* VendorDeviceName() const override;
};
