// The Trident bridge USB box ("Ivlen Capture"), its crossbar ("Ivlen Crossbar") and TV-audio
// device ("Ivlen TvAudio"). The box
// reaches the bridge through vendor commands on the capture filter (CTridentUsbAccess, access
// kind 17); the station's EEPROM image and the tuner's maker and model move through the bridge's
// vendor data requests, one byte each. Its tuner is the card's own (no tuner device is looked
// for); remote keys and the EEPROM mark byte (0x80) as CTridentServiceFilter. The Yolm box
// (YolmCardFilter.h) is the same box under its own names.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVAudioFilter.h"
#include "cards/trident/TridentFilter.h"
#include "cards/trident/TridentServiceFilter.h"

constexpr int ACCESS_KIND_TRIDENT_USB = 17;

class CTridentUsbAccess;

class CTridentUsbFilter : public CTridentServiceFilter {
public:
    static constexpr const char kCaptureName[] = "Ivlen Capture";
    static constexpr BYTE kMark80 = 0x80;

    using CTridentServiceFilter::CTridentServiceFilter;
    ~CTridentUsbFilter() override;

    // Every byte through a vendor data write at the EEPROM's address, each followed by
    // Sleep(delayMs); S_OK or the first failure. Ranges past 255 are refused (E_INVALIDARG)
    // before any byte moves.
    HRESULT WriteEeprom(BYTE* buffer, BYTE address, int* count, DWORD delayMs) override;
    // Every byte through a vendor data read; *count the number read, S_OK only when all were.
    HRESULT ReadEeprom(BYTE* buffer, BYTE address, int* count) override;
    // A CTridentUsbAccess (the class's access kind) and its Init with the driver's filter and
    // the card, whose result is answered; the object stays on failure.
    HRESULT InitAccess() override;
    // The EEPROM's maker and model (maker 'N' and model 0 when unread), nothing substituted.
    HRESULT ReadFactoryModel() override;
    // GetTunerInfo of the standard layout through vendor data reads.
    HRESULT GetTunerInfo(int* factory, int* model) override;

    // The EEPROM mark byte is 0x80.
    BOOL IsEepromMark80();
    // The access object's ResetTuner(FALSE); 0 without one.
    HRESULT ResetTunerLine();

    DECLARE_CARD_FILTER_CLASS();

protected:
    // The access kind InitAccess records.
    virtual int UsbAccessKind() const { return ACCESS_KIND_TRIDENT_USB; }

private:
    CTridentUsbAccess* UsbAccess() const;
};

class CTridentUsbCrossbarFilter : public CTridentCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Ivlen Crossbar";

    using CTridentCrossbarFilter::CTridentCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};

class CTridentUsbTvAudioFilter : public CTVAudioFilter {
public:
    static constexpr const char kDeviceName[] = "Ivlen TvAudio";

    using CTVAudioFilter::CTVAudioFilter;

    DECLARE_CARD_FILTER_CLASS();
};
