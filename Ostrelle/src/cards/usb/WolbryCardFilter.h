// The Wolbry USB box ("vorlane Wolbry Device") and its crossbar. The box has no I2C path of its
// own: its hardware access (CWolbryBoxAccess, access kind 15) carries every chip request in box
// properties of the capture filter, the tuner's reset in property 25. The EEPROM sits at 0xA2
// with the tuner's maker letter at 0xA0 and its model at 0xA1. Remote keys come from two box
// value requests to the key controller (7-bit device 0x5D): register 0x30 reads 1 while a key
// waits, register 0x31 is the key.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

constexpr int ACCESS_KIND_WOLBRY = 15;

class CWolbryCardFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "vorlane Wolbry Device";
    static constexpr const char kTunerFilterName[] = "vorlane Wolbry TvTuner";
    // The box value requests of the key controller: device, mode, key-ready and key register.
    static constexpr DWORD kKeyDevice = 0x5D;
    static constexpr BYTE kKeyMode = 1;
    static constexpr DWORD kKeyReadyRegister = 0x30;
    static constexpr DWORD kKeyRegister = 0x31;

    using CTVCardFilter::CTVCardFilter;
    ~CWolbryCardFilter() override;

    // Clears the card fields, sets the tuner filter name and the EEPROM places, then the base
    // Create; FALSE for an invalid wrapper.
    BOOL Create() override;
    // A key when the key-ready register reads 1 (nothing more is asked otherwise); the key
    // register's byte as it stands.
    BOOL GetRemoteData(BYTE* key) override;
    // CWolbryBoxAccess on the capture filter, without a card; its Init result.
    HRESULT InitAccess() override;

    DECLARE_CARD_FILTER_CLASS();
};

// The default route table: video 0, 1, 2 and audio 3, 4, 5 for sources 0, 1, 2.
class CWolbryCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "vorlane Wolbry Crossbar";
    static constexpr int kMaxFewPins = 5;

    using CCrossbarFilter::CCrossbarFilter;
    // TRUE when the crossbar has more than 5 pins.
    BOOL HasManyPins() const { return m_nPinCount > kMaxFewPins ? TRUE : FALSE; }

    DECLARE_CARD_FILTER_CLASS();
};
