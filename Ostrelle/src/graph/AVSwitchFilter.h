// CAVSwitchFilter: the wrapper of the maker's audio/video switch, registered by its CLSID; turns
// the switch on and off through IAVSwitch.
#pragma once

#include <makers/vorlane.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CAVSwitchFilter : public CRootFilter {
public:
    FILTER_WRAPPER_CONSTRUCTOR_DECLARATIONS(CAVSwitchFilter);
    ~CAVSwitchFilter() override;

    // Opens IAVSwitch; TRUE only for S_OK.
    BOOL Init() override;

    BOOL SetSwitch(BOOL on);
    // *pOn is the switch as read, "on" when the call failed (which answers FALSE).
    BOOL GetSwitch(BOOL* pOn);

    FILTER_WRAPPER_CREATOR_DECLARATIONS;

private:
    CComPtr<IAVSwitch> m_pSwitch;
};
