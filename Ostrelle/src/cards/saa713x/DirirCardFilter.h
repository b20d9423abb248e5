// The Dirir card ("713x_3 TV Card Capture") and its crossbar ("713x_3 TV Card Crossbar"): an
// SAA713x card on the driver's property set (CKsPropertyAccess, access kind 2) whose EEPROM may
// be in the Kesh layout (company and chipset markers "VORLANE" at 90 and "Keshar" at 97: the tuner
// then comes from the KeshTunerID at 65-66), an audio switch through the bridge's GPIO
// registers, the controller's word transactions in the standard pin layout, and the TV tuner
// interface upstream of its capture filter.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/saa713x/Saa713xStandardCard.h"
#include "graph/CrossbarFilter.h"

class CDirirCardFilter : public CSaa713xStandardCard {
public:
    static constexpr const char kCaptureName[] = "713x_3 TV Card Capture";
    static constexpr const char kTunerFilterName[] = "PhTVTune";

    using CSaa713xStandardCard::CSaa713xStandardCard;
    ~CDirirCardFilter() override;

    // The base Create with the tuner filter's name set first.
    BOOL Create() override;
    LONG_PTR OnCommand(LONG_PTR arg) override;
    // A CKsPropertyAccess bound to the capture filter and opened (access kind 2); then, while the
    // EEPROM layout says standard, the Kesh markers decide the layout.
    HRESULT InitAccess() override;
    // Lines 12-14 through the GPIO registers (0x1B0 mode, 0x1B4 status, 0x1C0 cleared first):
    // 0x2000 for source 2 when on, 0 for any other source, 0x7000 when off. The result is the
    // bitwise OR of the register accesses' results; E_POINTER without an access object; a failed
    // read of the lines is returned and nothing more is written.
    HRESULT SetAudioSource4(int source, BOOL on) override;

    // The capture filter's IAMTVTuner, kept (CTVCardFilter::FindCaptureTVTuner).
    HRESULT FindTunerInterface();

    DECLARE_CARD_FILTER_CLASS();

private:
    // Kesh layout when EEPROM bytes 90 to 102 read "VORLANEKeshar", else the standard layout.
    void DetectKeshLayout();

    CComPtr<IAMTVTuner> m_pTVTuner;
};

class CDirirCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "713x_3 TV Card Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
