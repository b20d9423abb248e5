// The PIP card ("713x_PIP TV Card Capture") and its crossbar ("713x_PIP TV Card Crossbar"): an
// SAA713x card on the driver's property set (CKsPropertyAccess, access kind 2) whose on-board
// controller is wired in the IO pin layout and shares the board's audio lines 12-14, which
// every controller frame keeps. A card that cannot have "Mutex_Remote_Control" when it opens
// says so in a message box and is not created.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

class CPipCardFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "713x_PIP TV Card Capture";
    static constexpr const char kTunerFilterName[] = "PhTVTune";
    static constexpr const char kLockFailureText[] = "Initfilter lock failed";

    using CTVCardFilter::CTVCardFilter;
    ~CPipCardFilter() override;

    // The base Create with the tuner filter's name set first, and the message box when the
    // mutex is not had.
    BOOL Create() override;
    // The IO layout's key, with every word read while waiting traced.
    BOOL GetRemoteData(BYTE* key) override;
    // A CKsPropertyAccess bound to the capture filter and opened, access kind 2.
    HRESULT InitAccess() override;
    BOOL SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) override;
    BOOL WaitReadState(DWORD* word) override;
    BOOL WriteControllerWord(WORD value) override;
    BOOL ReadControllerWord(WORD* value) override;
    BOOL ControllerCommand(BOOL on) override;

    DECLARE_CARD_FILTER_CLASS();
};

class CPipCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "713x_PIP TV Card Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
