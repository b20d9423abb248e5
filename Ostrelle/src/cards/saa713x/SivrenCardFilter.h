// The Sivren card ("Sivren Video Capture") and its crossbar ("Sivren Crossbar"): an SAA713x card on
// the driver's property set (CKsPropertyAccess, access kind 2), its tuner at EEPROM places 160
// (maker letter) and 161 (model), the controller's word transactions in the standard pin layout,
// and an audio switch that selects one line pattern for every source. The Movrik card shares its
// operations.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/saa713x/Saa713xStandardCard.h"
#include "graph/CrossbarFilter.h"

class CSivrenCardFilter : public CSaa713xStandardCard {
public:
    static constexpr const char kCaptureName[] = "Sivren Video Capture";
    static constexpr const char kTunerFilterName[] = "PhTVTune";
    static constexpr BYTE kFactoryPlace = 160;
    static constexpr BYTE kModelPlace = 161;

    using CSaa713xStandardCard::CSaa713xStandardCard;
    ~CSivrenCardFilter() override;

    // The base Create with the tuner filter's name and the EEPROM places of the tuner set first.
    BOOL Create() override;
    // Lines 12-14: 0x1000 for sources 0, 1 and 2 when on, 0x7000 when off (Saa713xSelectAudioSource).
    HRESULT SetAudioSource(int source, BOOL on) override;
    // A CKsPropertyAccess bound to the capture filter and opened, access kind 2.
    HRESULT InitAccess() override;

    DECLARE_CARD_FILTER_CLASS();
};

class CSivrenCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Sivren Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
