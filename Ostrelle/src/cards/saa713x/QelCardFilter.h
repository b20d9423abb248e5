// The Qel card ("713x_4 TV Card Capture") and its crossbar ("713x_4 TV Card Crossbar"): an
// SAA713x TV card reached over the driver's property set (CKsPropertyAccess, access kind 21),
// its tuner in the EEPROM's standard layout (maker letter at 32, TUNER_MODEL at 33), the base
// remote-key protocol and the controller's word transactions in the standard pin layout.
#pragma once

#include "graph/CrossbarFilter.h"
#include "graph/FilterClassRecord.h"
#include "cards/saa713x/Saa713xStandardCard.h"

constexpr int ACCESS_KIND_QEL = 21;

class CQelCardFilter : public CSaa713xStandardCard {
public:
    static constexpr const char kCaptureName[] = "713x_4 TV Card Capture";
    static constexpr const char kTunerFilterName[] = "PhTVTune";

    CQelCardFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CQelCardFilter(CRootGraph* owner, REFCLSID clsid);
    ~CQelCardFilter() override;

    // The base Create, with the tuner filter's name set first.
    BOOL Create() override;
    LONG_PTR OnCommand(LONG_PTR arg) override;
    // A CKsPropertyAccess bound to the capture filter and opened; E_POINTER without a filter,
    // the Init failure (no access object left), E_FAIL when Open fails (the access stays).
    HRESULT InitAccess() override;

    // The capture filter's IAMTVTuner (capture pin, interleaved media type, else video), kept,
    // and its filter as the card's tuner filter. S_OK at once when it is kept already.
    HRESULT FindTunerInterface();

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CFilterClassRecord s_classRecord;

private:
    CComPtr<IAMTVTuner> m_pTVTuner;
};

class CQelCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "713x_4 TV Card Crossbar";

    CQelCrossbarFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CQelCrossbarFilter(CRootGraph* owner, REFCLSID clsid);

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CFilterClassRecord s_classRecord;
};
