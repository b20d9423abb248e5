// The Kesh card ("713x BDA Analog Capture", EEPROM product type 84) and its crossbar
// ("713x BDA Analog Xbar"). The card reaches the board through CKesh713xAccess (access kind 22),
// keeps its tuner in the EEPROM's Kesh layout (maker letter at 104, KeshTunerID at 65 and 66),
// reads remote keys with the latched GPIO read, and speaks the controller's word transactions in
// the standard SAA713x pin layout.
#pragma once

#include "graph/CrossbarFilter.h"
#include "graph/FilterClassRecord.h"
#include "cards/saa713x/Saa713xStandardCard.h"

constexpr int ACCESS_KIND_KESH713X = 22;

class CKesh713xCardFilter : public CSaa713xStandardCard {
public:
    static constexpr const char kCaptureName[] = "713x BDA Analog Capture";

    CKesh713xCardFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CKesh713xCardFilter(CRootGraph* owner, REFCLSID clsid);
    ~CKesh713xCardFilter() override;

    // Opens the card under "Mutex_Remote_Control": the access object (a card whose access cannot
    // be initialised is not created), the output pins, the board's TV tuner device upstream of
    // the capture filter (when there is one), the tuner from the Kesh layout.
    BOOL Create() override;
    // The base protocol, with every GPIO read latched (slot 8 of the access object).
    BOOL GetRemoteData(BYTE* key) override;
    // A CKesh713xAccess bound to the capture filter; no Open. The result of its Init.
    HRESULT InitAccess() override;
    // Maker letter and model from the Kesh layout, nothing substituted.
    HRESULT ReadFactoryModel() override;
    HRESULT GetTunerInfo(int* factory, int* model) override;

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CFilterClassRecord s_classRecord;
};

class CKesh713xCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "713x BDA Analog Xbar";

    CKesh713xCrossbarFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CKesh713xCrossbarFilter(CRootGraph* owner, REFCLSID clsid);

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CFilterClassRecord s_classRecord;
};
