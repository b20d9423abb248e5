// The Elgrin USB box ("Elgrin Capture") and its crossbar. The box reaches its bridge through
// vendor commands (CElgrinAccess, access kind 12) and carries the Trident cards' service
// operations (CTridentServiceFilter). The EEPROM mark byte at address 3 tells the tuner: 'F',
// 'I' or 'C' mean the EEPROM names it (maker letter at 0x20, model at 0x21); any other value
// means the Xceive XC2028 (model 91, maker 'E'), whose firmware the box loads itself. Remote
// keys come from the I2C key controller at 0xBB on boxes whose mark is 'F', 'I' or 'C'.
// The Wandry box (WandryCardFilter.h) is the same box under its own names.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/trident/TridentServiceFilter.h"
#include "graph/CrossbarFilter.h"

constexpr int ACCESS_KIND_ELGRIN = 12;

class CElgrinCardFilter : public CTridentServiceFilter {
public:
    static constexpr const char kCaptureName[] = "Elgrin Capture";
    // The tuner of a box whose EEPROM names none.
    static constexpr int kXceiveModel = 91;
    static constexpr int kXceiveFactory = 'E';

    using CTridentServiceFilter::CTridentServiceFilter;
    // ReleaseAccess first (the card's threads, then the tuner, then the access object), so no
    // remote read or tuner outlives the access object it uses.
    ~CElgrinCardFilter() override;

    // 0 whatever the arguments: the box has no audio switch.
    HRESULT SetAudioSource(int source, BOOL on) override;
    // The key of the I2C key controller on a box whose mark lets it (KeysByMark).
    BOOL GetRemoteData(BYTE* key) override;
    // CElgrinAccess on the capture filter with this card; the kind is the class's.
    HRESULT InitAccess() override;
    // Maker 'N' and model 0, then GetTunerInfo's reads; its result.
    HRESULT ReadFactoryModel() override;
    // Present for every address from 0x40 up (address & 0xC0), without bus traffic.
    BOOL ProbeI2CAddress(BYTE address) override;

    // With model 91 and a tuner: the XC2028's firmware start (reset pulse, base, patch); 0.
    BOOL InitXceiveFirmware();
    // With model 91 and a tuner: holds the XC2028 in reset; its result. FALSE otherwise.
    BOOL ResetXceive();
    // The mark byte is 'F' or 'I'.
    BOOL HasFmMark();

    // The marks under which the EEPROM names the tuner ('F', 'I', 'C'), and the FM ones.
    static BOOL IsTunerDataMark(BYTE mark);
    static BOOL IsFmMark(BYTE mark);

    DECLARE_CARD_FILTER_CLASS();

protected:
    // Create's tuner step (the card's base Create): the mark byte, then the tuner maker and model
    // from the EEPROM for marks 'F', 'I', 'C' or the XC2028 for any other.
    void IdentifyTuner() override;
    // Whether a box of this mark has a key controller to read ('F', 'I', 'C').
    virtual BOOL KeysByMark(BYTE mark);
    // The access kind InitAccess records.
    virtual int BoxAccessKind() const { return ACCESS_KIND_ELGRIN; }
};

// Route table: video 0, 1, 2 and audio 4, 5, 6 for sources 0, 1, 2.
class CElgrinCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Elgrin Crossbar";

    using CCrossbarFilter::CCrossbarFilter;
    void InitRouteTable() override;

    DECLARE_CARD_FILTER_CLASS();
};
