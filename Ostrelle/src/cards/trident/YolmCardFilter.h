// The Yolm USB box ("Trident Yolm Capture", EEPROM product type 81), its crossbar ("Trident
// Yolm Crossbar") and TV-audio device ("Trident Yolm TvAudio"): the Ivlen box (CTridentUsbFilter) with access kind 19, GPIO written as the
// RiriRir card writes it, a GPIO write through WriteMaskedGpio, and EEPROM mark 0x81.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/trident/TridentUsbFilter.h"

constexpr int ACCESS_KIND_TRIDENT_YOLM = 19;

class CTridentYolmCardFilter : public CTridentUsbFilter {
public:
    static constexpr const char kCaptureName[] = "Trident Yolm Capture";
    static constexpr BYTE kMark81 = 0x81;

    using CTridentUsbFilter::CTridentUsbFilter;
    ~CTridentYolmCardFilter() override;

    // The access object's GPIO_Write(value, mask); the wait is not used. FALSE without access.
    BOOL SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) override;
    // The access object's GPIO_Write(value, mask); 1 when it took the write, else 0 (without an
    // access object too).
    HRESULT WriteMaskedGpio(LONG_PTR mask, LONG_PTR value) override;

    // The EEPROM mark byte is 0x81.
    BOOL IsEepromMark81();

    DECLARE_CARD_FILTER_CLASS();

protected:
    int UsbAccessKind() const override { return ACCESS_KIND_TRIDENT_YOLM; }
};

class CTridentYolmCrossbarFilter : public CTridentCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Trident Yolm Crossbar";

    using CTridentCrossbarFilter::CTridentCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};

class CTridentYolmTvAudioFilter : public CTVAudioFilter {
public:
    static constexpr const char kDeviceName[] = "Trident Yolm TvAudio";

    using CTVAudioFilter::CTVAudioFilter;

    DECLARE_CARD_FILTER_CLASS();
};
