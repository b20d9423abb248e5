// The Trident bridge PCI card ("RiriRir Capture") and its crossbar ("RiriRir Crossbar"). The
// card reaches the bridge through vendor commands on the capture filter (CTridentAccess, access
// kind 0): its EEPROM bytes as I2C requests at the EEPROM's address, GPIO as the bridge's lines.
// Its TV tuner device sits upstream of the capture filter; the card keeps the tuner's
// IAMTVTuner to switch the tuner's mode. A card whose EEPROM names no tuner gets maker 'A' and
// tuner model 133. EEPROM mark 0x46 ('F') at address 3.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/trident/TridentServiceFilter.h"
#include "graph/CrossbarFilter.h"

class CTridentFilter : public CTridentServiceFilter {
public:
    static constexpr const char kCaptureName[] = "RiriRir Capture";
    static constexpr BYTE kMarkF = 0x46;
    static constexpr int kDefaultFactory = 'A';
    static constexpr int kDefaultModel = 133;

    using CTridentServiceFilter::CTridentServiceFilter;
    // Stops the card's threads, releases the IAMTVTuner and takes the tuner device out of the
    // filter graph.
    ~CTridentFilter() override;

    // SetTunerMode(arg).
    LONG_PTR OnCommand(LONG_PTR arg) override;
    // A CTridentAccess (kind 0); the tuner device found upstream (SearchUpstreamInGraph: skipped
    // without an owner graph or capture graph builder); then the access object's Init with the
    // driver's filter and the card, whose result is answered (the object stays on failure).
    HRESULT InitAccess() override;
    // The EEPROM's maker and model; a maker still 'N' becomes 'A', a model 0 or 0xFF 133.
    HRESULT ReadFactoryModel() override;
    // The access object's GPIO_Write(value, mask); the wait is not used. FALSE without access.
    BOOL SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) override;

    // Mode 1 (TV), 2 (FM), 4 (AM) or 8 (DSS) put to the tuner when the tuner offers it: TRUE
    // when put_Mode took it. FALSE without the tuner's IAMTVTuner, for any other mode, for a
    // mode the tuner does not offer, or when the available modes cannot be read.
    BOOL SetTunerMode(long mode);
    // The EEPROM mark byte is 0x46.
    BOOL IsEepromMarkF();

    DECLARE_CARD_FILTER_CLASS();

private:
    CComPtr<IAMTVTuner> m_pTVTuner;
};

// Sources 0, 1, 2: video inputs 0, 1, 2 and audio inputs 4, 5, 6. The crossbars of the Ivlen
// and Yolm boxes take the same table.
class CTridentCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "RiriRir Crossbar";

    using CCrossbarFilter::CCrossbarFilter;
    void InitRouteTable() override;

    DECLARE_CARD_FILTER_CLASS();
};
